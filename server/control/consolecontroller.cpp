// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/consolecontroller.h"

#include "collect/resultcollector.h"
#include "collect/resultfiles.h"
#include "collect/sessiontable.h"
#include "export/resultexporter.h"
#include "publish/examarticle.h"
#include "publish/exchangefolder.h"

#include "paths.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QTime>

namespace console {

namespace {

constexpr qint32 kSecondsPerMinute = 60;
// An exam kept without an article name is named by its text's first signs.
constexpr int kArticleNameSigns = 20;

QString actionName(ConsoleController::SharedAction action)
{
    switch (action) {
    case ConsoleController::SharedAction::OpenLogin:
        return QStringLiteral("开放登录");
    case ConsoleController::SharedAction::CloseLogin:
        return QStringLiteral("禁止登录");
    case ConsoleController::SharedAction::Clear:
        break;
    }
    return QStringLiteral("清空");
}

}  // namespace

ConsoleController::ConsoleController(ConsoleFolders folders, QObject *parent)
    : QObject(parent),
      m_folders(std::move(folders)),
      m_settings(m_folders.application),
      m_gate(m_folders.application, m_folders.exchange),
      m_store(std::make_unique<ResultStore>(m_folders.database)),
      // The archive lies beside cj.mdb, wherever that is kept.
      m_archive(std::make_unique<ExamArchive>(
              QFileInfo(m_folders.database).dir().filePath(ExamArchive::defaultFileName()))),
      m_background(m_folders.exchange, m_folders.application, m_folders.database)
{
    m_collectClock.setInterval(kAutoCollectMillis);
    connect(&m_collectClock, &QTimer::timeout, this, &ConsoleController::collectQuietly);
    connect(&m_background, &BackgroundCollector::finished, this,
            &ConsoleController::showQuietCollection);
    connect(&m_rosters, &RosterLoader::loaded, this, &ConsoleController::takeRoster);
    setLoginState();
    // The stored results ranked by speed, and the exam time of time.txt.
    if (const auto stored = m_store->rowsInRankOrder())
        m_live.showStored(*stored);
    m_examMinutes = m_settings.storedExamMinutes();
    GradingScale::Reading scale = GradingScale::load(m_folders.application);
    if (scale.scale)
        m_scale = *scale.scale;
    else
        m_scaleProblem = scale.problem + QStringLiteral("\n现在使用默认的评分标准。");
}

ConsoleController::~ConsoleController()
{
    // The last collection is handed back while the listeners are still whole.
    m_collectClock.stop();
    m_background.wait();
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
    return QStringLiteral("交换文件夹中还有%1份上次考试的成绩。先清空吗？").arg(files);
}

void ConsoleController::keepExamPublished()
{
    // Login is open exactly while the files lie in the folder: a folder
    // deleted and made again, or a deleted te.txt, lets nobody in however
    // the button reads.
    if (!m_gate.isOpen() || m_gate.filesStillPublished())
        return;
    const QString problem = m_gate.republish();
    if (problem.isEmpty()) {
        m_gateNote = QStringLiteral("考试文件曾被删除，已于%1重新发布")
                             .arg(QTime::currentTime().toString(QStringLiteral("HH:mm:ss")));
        emit countsChanged();
        return;
    }
    m_gateNote.clear();
    setLoginState();
    emit loginChanged(m_gate.isOpen());
    emit loginLost(problem);
}

QString ConsoleController::openLogin()
{
    m_gateNote.clear();
    const QString problem = m_gate.open(m_examMinutes);
    if (problem.isEmpty())
        noteLoginOpened();
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
    setLoginState();
    emit loginChanged(m_gate.isOpen());
    return problem;
}

void ConsoleController::noteLoginOpened()
{
    ExamSitting published;
    published.openedAt = QDateTime::currentDateTimeUtc();
    published.articleName = QFileInfo(m_articlePath).completeBaseName();
    published.examMinutes = m_examMinutes;
    // The text as the class got it: te.txt is gone once login closes.
    const examarticle::Reading text =
            examarticle::fromFile(QDir(m_folders.exchange).filePath(LoginGate::publishedTextName()),
                                  examarticle::Source::ExamFile);
    published.articleText = text.text.value_or(QString());
    m_archive->noteLoginOpened(published);
}

// ---- Settings ----

void ConsoleController::setExamText(const QString &text)
{
    m_examText = text;
    emit examTextChanged(m_examText);
}

examarticle::Reading ConsoleController::readStoredExamText()
{
    examarticle::Reading stored = m_settings.storedExamText();
    setExamText(stored.text.value_or(QString()));
    return stored;
}

QString ConsoleController::chooseArticle(const QString &path)
{
    if (path.isEmpty())
        return {};
    const examarticle::Reading article = examarticle::fromFile(path);
    if (!article.text)
        return article.problem;
    m_articlePath = path;
    setExamText(*article.text);
    return {};
}

QString ConsoleController::saveSettings(const QString &typedMinutes)
{
    const ConsoleSettings::SaveOutcome outcome = m_settings.save(m_articlePath, typedMinutes);
    if (!outcome.examMinutes)
        return outcome.problem;
    m_examMinutes = *outcome.examMinutes;
    setExamText(QString());
    return {};
}

void ConsoleController::discardExamText()
{
    setExamText(QString());
}

QString ConsoleController::exchangeFolderLocked() const
{
    // The login gate and the collector work on the folder they started
    // with: a new one is taken at the next start, never under an open exam.
    if (!m_gate.isOpen())
        return {};
    return QStringLiteral("考试正在进行（已允许登录），请先禁止登录，再更改交换文件夹。");
}

QString ConsoleController::saveExchangeFolder(const QString &folder)
{
    const QString problem = m_settings.saveExchangeFolder(folder);
    if (problem.isEmpty())
        m_chosenExchange = folder;
    return problem;
}

QString ConsoleController::nextExchangeFolder() const
{
    return m_chosenExchange.isEmpty() ? m_folders.exchange
                                      : paths::exchangeFolder(m_chosenExchange);
}

QString ConsoleController::exchangeFolderSaved(const QString &folder)
{
    QString text =
            QStringLiteral(
                    "交换文件夹已设为 "
                    "%1，重新启动考试服务器后生效。请把Ftp服务器的主目录也设置为这个文件夹。")
                    .arg(QDir::toNativeSeparators(folder));
    if (qEnvironmentVariableIsSet("KESTRIX_EXCHANGE_DIR"))
        text += QStringLiteral(
                "\n注意：环境变量 KESTRIX_EXCHANGE_DIR 已设置，它优先于这里的选择。");
    return text;
}

// ---- The grading scale ----

QString ConsoleController::saveGradingScale(const GradingScale &scale)
{
    if (const QString problem = scale.save(m_folders.application); !problem.isEmpty())
        return problem;
    m_scale = scale;
    m_scaleProblem.clear();
    emit gradingScaleChanged();
    return {};
}

// ---- Results and the class ----

ExamFacts ConsoleController::examFacts() const
{
    // The exam the class was given, not the settings as they stand now:
    // they may already hold the next sitting's time.
    if (const auto &published = m_gate.examAsPublished())
        return { qint32(published->examMinutes) * kSecondsPerMinute, published->textLength, true,
                 published->text, published->textDigest };
    // A console that has no record of publishing has only its settings.
    return { qint32(m_examMinutes) * kSecondsPerMinute, m_publishedLength, false };
}

void ConsoleController::readPublishedLength()
{
    // Only a console with no record of its publishing counts te.txt: the
    // record already holds the length (see examFacts()). Counted as the
    // client counts it; kept when login closes and the text is withdrawn.
    if (m_gate.examAsPublished())
        return;
    const QString published = QDir(m_folders.exchange).filePath(LoginGate::publishedTextName());
    const QFileInfo info(published);
    // Counted again only when the file changed: the automatic collection
    // asks every few seconds.
    const QString stamp = QString::number(info.size()) + u'@'
            + QString::number(info.lastModified().toMSecsSinceEpoch());
    if (info.isFile() && stamp != m_publishedStamp) {
        m_publishedStamp = stamp;
        // Anyone may replace te.txt: the read is bounded.
        if (const examarticle::Reading text =
                    examarticle::fromFile(published, examarticle::Source::ExamFile);
            text.text)
            m_publishedLength = qint32(text.text->size());
    }
}

void ConsoleController::classChanged()
{
    emit rowsChanged();
    emit countsChanged();
}

void ConsoleController::showCollection(const CollectionReport &report)
{
    if (report.ok())
        m_live.update(report.results, examFacts(), report.kept, report.sessions);
    classChanged();
}

QString ConsoleController::collectResults()
{
    // An automatic collection under way finishes first: one writer at a time.
    m_background.wait();
    keepExamPublished();
    readPublishedLength();
    const CollectionReport report =
            ResultCollector(m_folders.exchange, m_folders.application, *m_store, &m_knownFiles)
                    .collect();
    showCollection(report);
    if (!report.ok())
        return report.problem;
    QStringList told = report.notes;
    if (!report.skipped.isEmpty())
        told.prepend(skippedFilesMessage(report.skipped));
    return told.join(u'\n');
}

void ConsoleController::collectQuietly()
{
    if (m_background.busy())
        return;
    keepExamPublished();
    readPublishedLength();
    m_background.start();
}

void ConsoleController::showQuietCollection(const CollectionReport &report)
{
    showCollection(report);
    // Files still being uploaded are normal while the class types; only a
    // failure of the whole collection is worth the examiner's eye.
    if (!report.ok())
        emit quietCollectionFailed(report.problem);
}

Retake::Offer ConsoleController::retakeOffer(const ClassViewRow &row)
{
    m_background.wait();
    return Retake(*m_store, m_folders.exchange, m_folders.application)
            .offer(row.department, row.examNumber, row.name);
}

QString ConsoleController::allowRetake(const ClassViewRow &row)
{
    // One writer of the ledger at a time.
    m_background.wait();
    const QString problem = Retake(*m_store, m_folders.exchange, m_folders.application)
                                    .allow(row.department, row.examNumber, row.name);
    // The row shows the result set aside at once.
    showCollection(ResultCollector(m_folders.exchange, m_folders.application, *m_store).collect());
    return problem;
}

std::optional<AnswerSheetPage> ConsoleController::answerSheetPage(qint32 recNo) const
{
    const ClassViewRow *row = m_live.rowOf(recNo);
    if (!row)
        return std::nullopt;
    return AnswerSheetPage(*row, m_live.resultOf(recNo), examFacts());
}

QString ConsoleController::loadRoster(const QString &path)
{
    if (path.isEmpty())
        return {};
    if (!m_rosters.start(path))
        return QStringLiteral("上一份名单还在载入，请稍候再载入。");
    // The counts line says that a list is being read.
    emit countsChanged();
    return {};
}

void ConsoleController::takeRoster(const ClassRoster::Reading &reading)
{
    if (reading.roster) {
        m_live.setRoster(reading.roster);
        classChanged();
    } else {
        emit countsChanged();
    }
    emit rosterLoaded(reading.roster ? reading.notice : reading.problem);
}

QString ConsoleController::clearQuestion()
{
    // A collection still under way must not refill the table afterwards.
    m_background.wait();
    const int results = m_store->rowCount().value_or(0);
    const int files = int(exchangeFilesToRemove(m_folders.exchange).size());
    if (!results && !files)
        return {};
    if (m_archive->isOpen())
        return QStringLiteral("清空前，成绩表中的%1条成绩先存入考试存档 %2，"
                              "然后清空成绩表，并删除交换文件夹 %3 中的%4个文件。"
                              "确定要清空吗？")
                .arg(results)
                .arg(QDir::toNativeSeparators(m_archive->path()),
                     QDir::toNativeSeparators(m_folders.exchange))
                .arg(files);
    return QStringLiteral("清空将删除成绩表中的%1条成绩和交换文件夹 %2 "
                          "中的%3个文件，删除后无法恢复。\n"
                          "请先做好备份（导出成绩，复制 cj.mdb）。确定要清空吗？")
                   .arg(results)
                   .arg(QDir::toNativeSeparators(m_folders.exchange))
                   .arg(files)
            + QStringLiteral("\n考试存档不可用，这次考试不会存档。");
}

ArchiveRead<ArchivedExam> ConsoleController::currentExam()
{
    const auto rows = m_store->rowsInRankOrder();
    if (!rows)
        return { std::nullopt, m_store->lastError() };
    const auto &published = m_gate.examAsPublished();
    ArchivedExam exam;
    ExamSitting &sitting = exam.sitting;
    sitting = m_archive->sittingUnderWay();
    sitting.key = ExamArchive::keyOf(published ? published->textDigest : QByteArray(), *rows);
    sitting.archivedAt = QDateTime::currentDateTimeUtc();
    sitting.scale = m_scale;
    if (sitting.examMinutes <= 0)
        sitting.examMinutes = published ? published->examMinutes : m_examMinutes;
    if (sitting.articleName.isEmpty())
        sitting.articleName = sitting.articleText.simplified().left(kArticleNameSigns);
    if (const auto &roster = m_live.roster()) {
        for (const RosterEntry &entry : roster->entries())
            sitting.roster +=
                    entry.department + u'\t' + entry.examNumber + u'\t' + entry.name + u'\n';
    }
    // The live rows carry the states and marks; the table the figures.
    QHash<qint32, const ClassViewRow *> live;
    for (const ClassViewRow &row : m_live.rows()) {
        if (row.hasRecord)
            live.insert(row.recNo, &row);
    }
    exam.rows.reserve(rows->size());
    for (const ResultRow &row : *rows) {
        ArchivedRow archived { row, {}, {} };
        const ClassViewRow *shown = live.value(row.recNo);
        archived.state = stateText(
                shown ? shown->state
                      : (row.timePass ? ExamineeState::Finished : ExamineeState::Waiting));
        if (shown)
            archived.doubts = shown->doubts.join(QStringLiteral("；"));
        exam.rows.append(archived);
    }
    return { exam, {} };
}

QString ConsoleController::keepExam()
{
    if (!m_archive->isOpen())
        return {};
    const ArchiveRead<ArchivedExam> current = currentExam();
    if (!current.value)
        return current.problem;
    if (current.value->rows.isEmpty())
        return {};
    return m_archive->keep(current.value->sitting, current.value->rows).problem;
}

ConsoleController::Export ConsoleController::exportKeptExam(const ArchivedExam &exam)
{
    QVector<ResultRow> rows;
    QHash<qint32, QString> doubts;
    for (const ArchivedRow &row : exam.rows) {
        rows.append({ row.recNo, row.department, row.examNumber, row.name, row.speed,
                      row.accuracyLine, row.timePass });
        if (!row.doubts.isEmpty())
            doubts.insert(row.recNo, row.doubts);
    }
    if (rows.isEmpty())
        return { QStringLiteral("这场考试没有成绩，没有导出。"), {}, {} };
    if (!QDir().mkpath(m_folders.exports))
        return { QStringLiteral("无法建立导出文件夹 %1")
                         .arg(QDir::toNativeSeparators(m_folders.exports)),
                 {},
                 {} };
    const QString path =
            ResultExporter::newWorkbookPath(m_folders.exports, QDateTime::currentDateTime());
    const ResultExporter::Outcome outcome =
            ResultExporter::write(rows, path, doubts, exam.sitting.scale);
    if (!outcome.problem.isEmpty())
        return { outcome.problem, {}, {} };
    return { {}, path, ResultExporter::doneMessage(path, outcome.changed) };
}

QStringList ConsoleController::clearResults()
{
    m_background.wait();
    // Kept first: an exam that cannot be kept is not cleared either.
    if (const QString problem = keepExam(); !problem.isEmpty())
        return { problem + QStringLiteral("\n没有清空成绩表和交换文件夹。") };
    QStringList problems;
    // The sessions go with the rows they belong to, in the same database:
    // where the rows stay, so do their sessions.
    if (!m_store->clear())
        problems << m_store->lastError();
    else if (SessionTable sessions(m_store->database()); !sessions.clear())
        problems << sessions.problem();
    m_live.clear();
    m_publishedLength.reset();
    m_publishedStamp.clear();
    classChanged();
    const QString problem = clearExchangeFolder(m_folders.exchange,
                                                { m_folders.application, m_folders.program,
                                                  QFileInfo(m_folders.database).absolutePath() });
    if (!problem.isEmpty())
        problems << problem;
    return problems;
}

ConsoleController::Export ConsoleController::exportResults()
{
    const auto rows = m_store->rowsInRankOrder();
    if (!rows)
        return { m_store->lastError(), {}, {} };
    if (rows->isEmpty())
        return { QStringLiteral("成绩表中没有成绩，没有导出。"), {}, {} };
    if (!QDir().mkpath(m_folders.exports))
        return { QStringLiteral("无法建立导出文件夹 %1")
                         .arg(QDir::toNativeSeparators(m_folders.exports)),
                 {},
                 {} };
    const QString path =
            ResultExporter::newWorkbookPath(m_folders.exports, QDateTime::currentDateTime());
    const ResultExporter::Outcome outcome = ResultExporter::write(
            *rows, path, m_live.doubtsByRecNo(), m_scale, m_live.wrongCountsByRecNo());
    if (!outcome.problem.isEmpty())
        return { outcome.problem, {}, {} };
    return { {}, path, ResultExporter::doneMessage(path, outcome.changed) };
}

void ConsoleController::shutDown()
{
    m_collectClock.stop();
    m_background.wait();
    // A list still being read is let go: nobody is left to be told.
    disconnect(&m_rosters, nullptr, this, nullptr);
    m_rosters.wait();
    m_store->close();
}

}  // namespace console
