// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/consolecontroller.h"

#include "class/recordtexts.h"
#include "collect/resultfilereader.h"
#include "collect/resultfiles.h"
#include "collect/sessiontable.h"
#include "control/controllog.h"
#include "export/exportwriter.h"
#include "publish/examarticle.h"
#include "publish/exampublications.h"
#include "publish/exchangefolder.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QTime>
#include <QCoreApplication>

namespace console {

namespace {

QString filesKept()
{
    return QCoreApplication::translate("ConsoleController", "\n交换文件夹中的文件没有删除。");
}

QString actionName(ConsoleController::SharedAction action)
{
    switch (action) {
    case ConsoleController::SharedAction::OpenLogin:
        return QCoreApplication::translate("Console", "开放登录");
    case ConsoleController::SharedAction::CloseLogin:
        return QCoreApplication::translate("Console", "禁止登录");
    case ConsoleController::SharedAction::Clear:
        break;
    }
    return QCoreApplication::translate("Console", "清空");
}

}  // namespace

ConsoleController::ConsoleController(ConsoleFolders folders, QObject *parent)
    : QObject(parent),
      m_folders(std::move(folders)),
      m_gate(m_folders.application, m_folders.exchange),
      m_nextCodes(m_gate, m_folders.application),
      m_settings(m_folders, m_gate),
      m_judged(m_gate, m_settings, m_folders.exchange),
      m_store(std::make_unique<ResultStore>(m_folders.database)),
      // The archive lies beside cj.mdb, wherever that is kept.
      m_archive(std::make_unique<ExamArchive>(
              QFileInfo(m_folders.database).dir().filePath(ExamArchive::defaultFileName()))),
      m_class(m_folders.application, m_store->database()),
      m_schedule(
              m_folders, [this] { return prepareCollection(); },
              [this](const CollectionReport &report) { showCollection(report); }),
      m_school(*m_archive, m_folders.application),
      m_history(*m_archive, { *m_store, m_gate, m_class.live(), m_settings, m_school.setting() },
                m_folders.exports)
{
    m_collectClock.setInterval(kAutoCollectMillis);
    connect(&m_collectClock, &QTimer::timeout, &m_schedule, &CollectionSchedule::collectQuietly);
    connect(&m_schedule, &CollectionSchedule::collectedByHand, this,
            &ConsoleController::collectedByHand);
    connect(&m_schedule, &CollectionSchedule::quietCollectionFailed, this,
            &ConsoleController::quietCollectionFailed);
    connect(&m_schedule, &CollectionSchedule::retakeDone, this, &ConsoleController::retakeDone);
    // Marks that could not be kept cost only how a restarted console shows
    // the rows: told like a quiet collection's failure.
    connect(&m_class, &ClassController::marksUnkept, this,
            &ConsoleController::quietCollectionFailed);
    setLoginState();
    takeLoginCodes();
    // The stored results ranked by speed, shown as they were when the
    // console last ended: its first collection has yet to judge the files.
    if (const auto stored = m_store->rowsInRankOrder())
        m_class.showStored(*stored);
    // Exams a server that was away did not take are sent at the start.
    m_school.send();
}

ConsoleController::~ConsoleController()
{
    // The last collection is handed back while the listeners are still whole.
    m_collectClock.stop();
    m_schedule.wait();
}

QString ConsoleController::startProblem() const
{
    return m_store->isOpen() ? QString() : m_store->lastError();
}

// ---- Login gate ----

void ConsoleController::setLoginState()
{
    // The class is watched while examinees may log in.
    if (m_gate.isOpen())
        m_collectClock.start();
    else
        m_collectClock.stop();
}

QString ConsoleController::readinessProblem() const
{
    const LoginGate::Readiness readiness = m_gate.readiness();
    return readiness == LoginGate::Readiness::Ready ? QString()
                                                    : m_gate.readinessMessage(readiness);
}

QString ConsoleController::otherConsoleWarning(SharedAction action) const
{
    const auto other = m_gate.otherConsole(QDateTime::currentDateTimeUtc());
    return other ? ConsoleMarker::warning(*other, actionName(action)) : QString();
}

QString ConsoleController::withdrawQuestion() const
{
    // Another console's exam is that console's to withdraw.
    if (!m_gate.isOpen() || m_gate.otherConsole(QDateTime::currentDateTimeUtc()))
        return {};
    return LoginGate::publishedExamQuestion(m_gate.publishedExam());
}

QString ConsoleController::staleResultsQuestion() const
{
    // Opened over them, they would show as the new class's 已交卷 at once.
    if (m_gate.isOpen())
        return {};
    QString problem;
    const qsizetype files = ResultFileFolder(m_folders.exchange).list(problem).size();
    if (!files)
        return {};
    return tr("交换文件夹中还有%1份上次考试的成绩。先清空吗？").arg(files);
}

void ConsoleController::keepExamPublished()
{
    // Login is open exactly while the exam's files lie in the folder as
    // published: a folder deleted and made again, a deleted se.dll or a
    // rewritten te.txt or pb.txt would let the class sit another exam than
    // the one judged, or none.
    const LoginGate::Republishing republishing = m_gate.republish();
    if (republishing.problem.isEmpty()) {
        // Told once per change: a collection that finds the files as
        // published leaves the note as it is.
        if (republishing.restored.isEmpty())
            return;
        m_gateNote = tr("考试文件 %1 曾被删除或改动，已于%2重新发布")
                             .arg(republishing.restored.join(tr("、")),
                                  QTime::currentTime().toString(QStringLiteral("HH:mm:ss")));
        qCWarning(lcControl).noquote() << m_gateNote;
        emit gateNoteChanged();
        return;
    }
    qCWarning(lcControl).noquote() << "login lost:" << republishing.problem;
    m_gateNote.clear();
    setLoginState();
    emit loginChanged(m_gate.isOpen());
    emit loginLost(republishing.problem);
}

QString ConsoleController::openLogin()
{
    m_gateNote.clear();
    const QString problem = m_gate.open(m_settings.examMinutes(), examineesToCode());
    // Even a failure may leave the console's record naming the new exam.
    takeLoginCodes();
    if (problem.isEmpty() && !m_gate.loginCodes().isEmpty())
        m_nextCodes.taken();
    if (problem.isEmpty())
        noteLoginOpened();
    logCommand(tr("允许登录"), problem);
    setLoginState();
    emit loginChanged(m_gate.isOpen());
    return problem;
}

QString ConsoleController::closeLogin()
{
    m_gateNote.clear();
    const QString problem = m_gate.close();
    // The times only describe the kept exam: it is kept without them too.
    if (problem.isEmpty())
        m_archive->noteLoginClosed(QDateTime::currentDateTimeUtc());
    logCommand(tr("禁止登录"), problem);
    setLoginState();
    emit loginChanged(m_gate.isOpen());
    return problem;
}

const LoginCodes &ConsoleController::loginCodes() const
{
    // A withdrawn exam's codes still judge its records, but slips printed
    // from them would let nobody in.
    static const LoginCodes none;
    return m_gate.isOpen() ? m_gate.loginCodes() : none;
}

bool ConsoleController::slipsAvailable() const
{
    if (m_gate.isOpen())
        return !m_gate.loginCodes().isEmpty();
    const auto &roster = m_class.live().roster();
    return roster && !roster->entries().isEmpty() && m_settings.loginCodesRequired();
}

ConsoleController::Slips ConsoleController::slips()
{
    Slips slips;
    if (m_gate.isOpen()) {
        slips.codes = m_gate.loginCodes();
        if (slips.codes.isEmpty())
            slips.problem = tr("这场考试没有登录码。");
    } else if (const QVector<CodedExaminee> examinees = examineesToCode(); examinees.isEmpty()) {
        slips.problem = QCoreApplication::translate(
                "Console", "请先在考试设置中勾选“要求登录码”，并载入考生名单。");
    } else {
        // Slips of codes the next publication would not hand out let nobody in.
        slips.codes = LoginCodes::issue({}, examinees);
        if (const QString problem = m_nextCodes.keep(slips.codes); !problem.isEmpty()) {
            slips.codes = {};
            slips.problem =
                    QCoreApplication::translate("Console", "无法保存登录码，没有生成登录码纸条：")
                    + problem;
        }
    }
    // The day they are printed; the hour is the publication's to tell.
    slips.exam.heldAt = QDateTime::currentDateTime();
    slips.exam.timeKnown = false;
    slips.exam.articleName = m_settings.articleName();
    const auto &published = m_gate.examAsPublished();
    slips.exam.examMinutes =
            m_gate.isOpen() && published ? published->examMinutes : m_settings.examMinutes();
    for (const CodedExaminee &examinee : slips.codes.examinees())
        slips.exam.departments << examinee.department;
    return slips;
}

QVector<CodedExaminee> ConsoleController::examineesToCode() const
{
    QVector<CodedExaminee> examinees;
    const auto &roster = m_class.live().roster();
    if (!roster || !m_settings.loginCodesRequired())
        return examinees;
    for (const RosterEntry &entry : roster->entries())
        examinees.append({ entry.department, entry.examNumber, entry.name, {} });
    return m_nextCodes.codesFor(m_settings.examMinutes(), std::move(examinees)).examinees();
}

void ConsoleController::takeLoginCodes()
{
    const auto &exam = m_gate.examAsPublished();
    if (!exam || !exam->publication.codesRequired) {
        m_keys.reset();
        return;
    }
    if (m_keys && m_keys->publicationId() == exam->publication.id)
        return;
    m_keys = std::make_shared<const RecordKeys>(
            exam->publication.id, m_gate.loginCodes(),
            ExamPublications::ofPublishedExam(m_folders.application).ownIds());
}

void ConsoleController::noteLoginOpened()
{
    ExamSitting published;
    published.openedAt = QDateTime::currentDateTimeUtc();
    published.articleName = m_settings.articleName();
    published.examMinutes = m_settings.examMinutes();
    // The text as the class got it: te.txt is gone once login closes.
    const examarticle::Reading text =
            examarticle::fromFile(QDir(m_folders.exchange).filePath(LoginGate::publishedTextName()),
                                  examarticle::Source::ExamFile);
    published.articleText = text.text.value_or(QString());
    m_archive->noteLoginOpened(published);
}

// ---- Results ----

void ConsoleController::showCollection(const CollectionReport &report)
{
    m_class.show(report, m_judged.facts());
}

CollectionSchedule::Start ConsoleController::prepareCollection()
{
    keepExamPublished();
    m_judged.countPublishedText();
    return { m_keys, textExaminer(m_judged.facts()) };
}

Retake::Offer ConsoleController::retakeOffer(const ClassViewRow &row)
{
    return Retake(*m_store, m_folders.exchange, m_folders.application)
            .offer(row.department, row.examNumber, row.name);
}

void ConsoleController::allowRetake(const ClassViewRow &row)
{
    m_schedule.retake([exchange = m_folders.exchange, application = m_folders.application,
                       codes = m_gate.loginCodes(), department = row.department,
                       examNumber = row.examNumber, name = row.name](ResultStore &store) {
        return Retake(store, exchange, application, codes).allow(department, examNumber, name);
    });
}

std::optional<AnswerSheetPage> ConsoleController::answerSheetPage(qint32 recNo) const
{
    const ClassViewRow *row = m_class.live().rowOf(recNo);
    if (!row)
        return std::nullopt;
    const CollectedResult *result = m_class.live().resultOf(recNo);
    if (!result || !result->findings)
        return AnswerSheetPage(*row, result, m_judged.facts());
    // The collection kept no texts: the sheet is read from its file again,
    // and a file gone since shows as gone.
    CollectedResult whole = *result;
    const ResultRecordReading reading =
            readCollectedFile(m_folders.exchange, result->files.at(result->newest));
    if (reading.ok()) {
        whole.record = *reading.record;
        whole.accuracyLine = reading.accuracyLine;
    }
    return AnswerSheetPage(*row, reading.ok() ? &whole : nullptr, m_judged.facts());
}

ConsoleController::ClearQuestion ConsoleController::clearQuestion()
{
    // A collection still under way must not refill the table afterwards.
    m_schedule.wait();
    // A table that cannot be read is no table of 0 results: clearing would
    // delete the files its rows came from.
    const std::optional<int> results = m_store->rowCount();
    if (!results)
        return { std::nullopt, m_store->lastError() + filesKept() };
    const int files = int(exchangeFilesToRemove(m_folders.exchange).size());
    if (!*results && !files)
        return {};
    if (m_archive->isOpen())
        return { tr("清空前，成绩表中的%1条成绩先存入考试存档 %2，"
                    "然后清空成绩表，并删除交换文件夹 %3 中的%4个文件。"
                    "确定要清空吗？")
                         .arg(*results)
                         .arg(QDir::toNativeSeparators(m_archive->path()),
                              QDir::toNativeSeparators(m_folders.exchange))
                         .arg(files),
                 {} };
    return { tr("清空将删除成绩表中的%1条成绩和交换文件夹 %2 "
                "中的%3个文件，删除后无法恢复。\n"
                "请先做好备份（导出成绩，复制 cj.mdb）。确定要清空吗？")
                             .arg(*results)
                             .arg(QDir::toNativeSeparators(m_folders.exchange))
                             .arg(files)
                     + tr("\n考试存档不可用，这次考试不会存档。"),
             {} };
}

std::vector<std::function<QString()>> ConsoleController::clearingSteps()
{
    return { [this] { return keepExamBeforeClearing(); }, [this] { return clearTable(); },
             [this] { return clearFiles(); } };
}

QString ConsoleController::keepExamBeforeClearing()
{
    // An exam that cannot be kept is not cleared either.
    if (const QString problem = m_history.keepCurrentExam(); !problem.isEmpty())
        return problem + tr("\n没有清空成绩表和交换文件夹。");
    return {};
}

QString ConsoleController::clearTable()
{
    // The sessions go with the rows they belong to, in the same database:
    // where the rows stay, so do their sessions, and so do their files, or
    // the next collection would find rows without a file to judge.
    if (!m_store->clear())
        return m_store->lastError() + filesKept();
    if (SessionTable sessions(m_store->database()); !sessions.clear())
        return sessions.problem() + filesKept();
    if (const QString problem = m_class.forgetMarks(); !problem.isEmpty())
        return problem + filesKept();
    // Only a table read back empty lets the files go.
    if (const std::optional<int> left = m_store->rowCount(); !left || *left)
        return (left ? tr("成绩表没有清空。") : m_store->lastError()) + filesKept();
    m_judged.forgetPublishedText();
    m_class.clear();
    return {};
}

QString ConsoleController::clearFiles()
{
    const QString problem = clearExchangeFolder(m_folders.exchange,
                                                { m_folders.application, m_folders.program,
                                                  QFileInfo(m_folders.database).absolutePath() });
    // With its records gone the exam is over: its codes go out no more,
    // and publishing it again starts another exam.
    if (problem.isEmpty())
        m_gate.retireExam();
    return problem;
}

QStringList ConsoleController::clearResults()
{
    m_schedule.wait();
    QString problem;
    for (const auto &step : clearingSteps()) {
        problem = step();
        if (!problem.isEmpty())
            break;
    }
    logCommand(tr("清空上次"), problem);
    // On to the school, once kept; what cannot go yet waits in the file.
    m_school.send();
    return problem.isEmpty() ? QStringList() : QStringList { problem };
}

WorkbookExport ConsoleController::exportResults()
{
    const ArchiveRead<ArchivedExam> exam = m_history.currentExam();
    if (!exam.value)
        return { exam.problem, {}, {} };
    if (!m_store->rowCount().value_or(0))
        return { tr("成绩表中没有成绩，没有导出。"), {}, {} };
    // Taken while some still type, the workbook says so.
    const int typing = m_class.live().counts().typing;
    const QString note = typing ? tr("（考试进行中，%1人正在答题）").arg(typing) : QString();
    return m_history.exportExam(*exam.value, m_class.live().wrongCountsByRecNo(), note);
}

void ConsoleController::shutDown()
{
    m_collectClock.stop();
    m_schedule.wait();
    m_class.abandonRoster();
    m_store->close();
}

}  // namespace console
