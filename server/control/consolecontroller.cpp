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
                m_folders.exports),
      m_slipCodes({ m_gate, m_nextCodes, m_settings, m_class }),
      m_clearing({ m_folders, *m_store, *m_archive, m_schedule, m_class, m_judged, m_gate,
                   m_history, m_school })
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
    const QString problem = m_gate.open(m_settings.examMinutes(), m_slipCodes.examineesToCode());
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
