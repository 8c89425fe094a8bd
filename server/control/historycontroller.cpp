// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/historycontroller.h"

#include "class/liveclass.h"
#include "control/controllog.h"
#include "control/examsettingscontroller.h"
#include "export/exportwriter.h"
#include "publish/logingate.h"
#include "stats/examlistmodel.h"
#include "stats/rankingmodel.h"

#include <algorithm>
#include <QCoreApplication>

namespace console {

namespace {

// An exam kept without an article name is named by its text's first signs.
constexpr int kArticleNameSigns = 20;

}  // namespace

HistoryController::HistoryController(ExamArchive &archive, RunningExam running,
                                     QString exportFolder)
    : m_archive(archive), m_running(running), m_exportFolder(std::move(exportFolder))
{
}

ArchiveRead<ArchivedExam> HistoryController::currentExam()
{
    const auto rows = m_running.store.rowsInRankOrder();
    if (!rows)
        return { std::nullopt, m_running.store.lastError() };
    const auto &published = m_running.gate.examAsPublished();
    ArchivedExam exam;
    ExamSitting &sitting = exam.sitting;
    sitting = m_archive.sittingUnderWay();
    if (published)
        sitting.publication = published->publication.id;
    // Of a publication there is one exam, whatever its rows when it is kept.
    sitting.key = !sitting.publication.isEmpty()
            ? sitting.publication
            : ExamArchive::keyOf(published ? published->textDigest : QByteArray(), *rows);
    sitting.archivedAt = QDateTime::currentDateTimeUtc();
    sitting.scale = m_running.settings.gradingScale();
    sitting.lab = m_running.school.lab;
    sitting.teacher = m_running.school.teacher;
    if (sitting.examMinutes <= 0)
        sitting.examMinutes = published ? published->examMinutes : m_running.settings.examMinutes();
    if (sitting.articleName.isEmpty())
        sitting.articleName = sitting.articleText.simplified().left(kArticleNameSigns);
    if (const auto &roster = m_running.live.roster()) {
        for (const RosterEntry &entry : roster->entries())
            sitting.roster +=
                    entry.department + u'\t' + entry.examNumber + u'\t' + entry.name + u'\n';
    }
    // The live rows carry the states and marks; the table the figures.
    QHash<qint32, const ClassViewRow *> live;
    QVector<ArchivedRow> absent;
    for (const ClassViewRow &row : m_running.live.rows()) {
        if (row.hasRecord)
            live.insert(row.recNo, &row);
        else
            absent.append({ row, ExamineeState::Absent, {} });
    }
    exam.rows.reserve(rows->size());
    for (const ResultRow &row : *rows) {
        ArchivedRow archived { row, {}, {} };
        const ClassViewRow *shown = live.value(row.recNo);
        archived.state = shown ? shown->state
                               : (row.timePass ? ExamineeState::Finished : ExamineeState::Waiting);
        if (shown) {
            archived.doubts = shown->remarks();
            // As the list spells the examinee, where there is one.
            archived.department = shown->department;
            archived.examNumber = shown->examNumber;
            archived.name = shown->name;
        }
        exam.rows.append(archived);
    }
    exam.rows += absent;
    return { exam, {} };
}

void HistoryController::openArchiveShown(QObject *context,
                                         std::function<void(const QString &away)> done)
{
    const QString &place = m_running.school.place;
    m_reader.setPlace(place);
    if (place.isEmpty()) {
        m_showsSchool = false;
        m_labRole.clear();
        done({});
        return;
    }
    // The role is the connection's: kept here, where the window asks for it.
    m_reader.run<ArchiveRead<QString>>(
            [](ExamArchive &school) -> ArchiveRead<QString> {
                return { school.role(), {} };
            },
            context,
            [this, done = std::move(done)](const ArchiveRead<QString> &role) {
                m_showsSchool = role.value.has_value();
                m_labRole = role.value.value_or(QString());
                done(role.problem);
            });
}

void HistoryController::exams(const ExamFilter &filter, QObject *context, Answer<ExamList> done)
{
    onShown<ArchiveRead<ExamList>>(
            [filter](ExamArchive &archive) -> ArchiveRead<ExamList> {
                const ArchiveRead<ListedExams> listed = ExamListing(archive).exams(filter);
                if (!listed.value)
                    return { std::nullopt, listed.problem };
                ExamList list;
                list.more = listed.value->more;
                list.exams.reserve(listed.value->exams.size());
                for (const ArchivedExam &exam : listed.value->exams)
                    list.exams.append(summaryOf(exam));
                return { list, {} };
            },
            context, std::move(done));
}

void HistoryController::filterChoices(QObject *context, Answer<ExamFilterChoices> done)
{
    onShown<ArchiveRead<ExamFilterChoices>>(
            [](ExamArchive &archive) { return ExamListing(archive).choices(); }, context,
            std::move(done));
}

void HistoryController::termClasses(const SchoolTerm &term, QObject *context,
                                    Answer<QStringList> done)
{
    onShown<ArchiveRead<QStringList>>(
            [term](ExamArchive &archive) { return ExamListing(archive).classesIn(term); }, context,
            std::move(done));
}

void HistoryController::exam(qint64 id, QObject *context, Answer<ArchivedExam> done)
{
    onShown<ArchiveRead<ArchivedExam>>([id](ExamArchive &archive) { return archive.exam(id); },
                                       context, std::move(done));
}

void HistoryController::history(const QString &examNumber, const QString &name, QObject *context,
                                Answer<QVector<HistoryPoint>> done)
{
    onShown<ArchiveRead<QVector<HistoryPoint>>>(
            [examNumber, name](ExamArchive &archive) {
                return historyOf(ExamineeSearch(archive).history(examNumber, name));
            },
            context, std::move(done));
}

void HistoryController::examinees(QObject *context, Answer<QVector<KnownExaminee>> done)
{
    onShown<ArchiveRead<QVector<KnownExaminee>>>(
            [](ExamArchive &archive) { return ExamineeSearch(archive).examinees(); }, context,
            std::move(done));
}

void HistoryController::regrade(ArchivedExam &exam, QObject *context,
                                std::function<void(const QString &)> done)
{
    if (!removalRefused(exam.sitting).isEmpty()) {
        exam.sitting.scale = scaleInForce();
        done({});
        return;
    }
    // The scale as it is now, not when the thread comes to it.
    onShown<QString>([id = exam.id, scale = scaleInForce()](
                             ExamArchive &archive) { return archive.regrade(id, scale); },
                     context, std::move(done));
}

void HistoryController::remove(qint64 id, QObject *context,
                               std::function<void(const QString &)> done)
{
    onShown<QString>([id](ExamArchive &archive) { return archive.remove(id); }, context,
                     std::move(done));
}

QString HistoryController::keepCurrentExam()
{
    if (!m_archive.isOpen())
        return {};
    const ArchiveRead<ArchivedExam> current = currentExam();
    if (!current.value)
        return current.problem;
    // Without a result there was no exam, whoever was listed.
    const QVector<ArchivedRow> &rows = current.value->rows;
    if (std::all_of(rows.begin(), rows.end(), [](const ArchivedRow &row) { return row.absent(); }))
        return {};
    // Kept while the console has no school archive: it stays here until
    // the examiner sends the exams kept before.
    const auto outbox = m_running.school.place.isEmpty() ? ExamArchive::Outbox::KeptBefore
                                                         : ExamArchive::Outbox::Waits;
    const ExamArchive::Kept kept = m_archive.keep(current.value->sitting, rows, outbox);
    if (kept.problem.isEmpty())
        qCInfo(lcControl) << "exam kept in the archive as" << kept.id << "with" << rows.size()
                          << "rows";
    else
        qCWarning(lcControl).noquote() << "exam not kept in the archive:" << kept.problem;
    return kept.problem;
}

void HistoryController::termExams(const QVector<qint64> &ids, const QString &department,
                                  std::function<bool(int read)> goOn, QObject *context,
                                  Answer<QVector<ArchivedExam>> done)
{
    onShown<ArchiveRead<QVector<ArchivedExam>>>(
            [ids, department,
             goOn = std::move(goOn)](ExamArchive &archive) -> ArchiveRead<QVector<ArchivedExam>> {
                QVector<ArchivedExam> exams;
                for (const qint64 id : ids) {
                    const ArchiveRead<ArchivedExam> exam = archive.exam(id);
                    if (!exam.value)
                        return { std::nullopt, exam.problem };
                    // A class chosen: its report holds its examinees only.
                    exams.append(department.isEmpty() ? *exam.value
                                                      : onlyDepartment(*exam.value, department));
                    if (!goOn(int(exams.size())))
                        return {};
                }
                return { exams, {} };
            },
            context, std::move(done));
}

void HistoryController::classTerms(const SchoolTerm &term, const QStringList &classes,
                                   std::function<bool(int read)> goOn, QObject *context,
                                   Answer<QVector<ClassTerm>> done)
{
    onShown<ArchiveRead<QVector<ClassTerm>>>(
            [term, classes,
             goOn = std::move(goOn)](ExamArchive &archive) -> ArchiveRead<QVector<ClassTerm>> {
                QVector<ClassTerm> terms;
                for (const QString &name : classes) {
                    const ArchiveRead<ListedExams> listed =
                            ExamListing(archive).exams({ {}, {}, name, term, {} });
                    if (!listed.value)
                        return { std::nullopt, listed.problem };
                    // A term report that silently left exams out would be wrong.
                    if (listed.value->more)
                        return { std::nullopt,
                                 QCoreApplication::translate("Console",
                                                             "%1在%2的考试超过%3场，无法汇总。")
                                         .arg(name, term.name())
                                         .arg(ExamListing::kMostListed) };
                    ClassTerm one { name, {} };
                    for (const ArchivedExam &exam : listed.value->exams)
                        one.exams.prepend(onlyDepartment(exam, name));
                    terms.append(one);
                    if (!goOn(int(terms.size())))
                        return {};
                }
                return { terms, {} };
            },
            context, std::move(done));
}

const GradingScale &HistoryController::scaleInForce() const
{
    return m_running.settings.gradingScale();
}

WorkbookExport HistoryController::exportExam(const ArchivedExam &exam,
                                             const QHash<qint32, qint32> &wrongCounts,
                                             const QString &titleNote)
{
    if (exam.rows.isEmpty())
        return { tr("这场考试没有成绩，没有导出。"), {}, {} };
    const QVector<std::optional<int>> places = placesOf(exam.rows);
    QVector<ExportedRow> rows;
    rows.reserve(exam.rows.size());
    for (int i = 0; i < exam.rows.size(); ++i) {
        const ArchivedRow &row = exam.rows[i];
        ExportedRow exported {
            row, row.absent(), row.shownState(), places[i], row.doubtsLine(), {}
        };
        if (const auto wrong = wrongCounts.constFind(row.recNo);
            !row.absent() && wrong != wrongCounts.constEnd())
            exported.wrongCount = *wrong;
        rows.append(exported);
    }
    return ExportWriter(m_exportFolder, exam.sitting.heldAt(), exam.sitting.articleName,
                        exam.sitting.examMinutes)
            .write(rows, exam.sitting.scale, titleNote);
}

void HistoryController::gradeExam(qint64 id, QObject *context, Answer<GradeWideExam> done)
{
    onShown<ArchiveRead<GradeWideExam>>(
            [id](ExamArchive &archive) -> ArchiveRead<GradeWideExam> {
                ArchiveRead<QVector<ArchivedExam>> exams = archive.gradeExamOf(id);
                if (!exams.value)
                    return { std::nullopt, exams.problem };
                return { GradeWideExam(std::move(*exams.value)), {} };
            },
            context, std::move(done));
}

}  // namespace console
