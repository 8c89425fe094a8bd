// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "collect/resultcollector.h"

#include "publish/exchangefolder.h"
#include "identity.h"
#include "keytimeline.h"
#include "numbers.h"
#include "paths.h"
#include "publication.h"
#include "collect/resultfiles.h"
#include "collect/sessiontable.h"
#include "collect/sessiontimeline.h"
#include "resultfilename.h"
#include "transcode.h"
#include "wholefile.h"

#include <QDateTime>
#include <QDir>
#include <QHash>
#include <QSet>

#include <algorithm>

ResultRow CollectedResult::row(qint32 recNo) const
{
    ResultRow row;
    row.recNo = recNo;
    row.department = record.department;
    row.examNumber = record.examNumber;
    row.name = record.name;
    // The single as the client wrote it (56.1, not 56.0999984741211).
    row.speed = numbers::singleText(record.speed).toDouble();
    row.accuracyLine = accuracyLine;
    row.timePass = record.timePass;
    return row;
}

QDateTime CollectionWatch::collectedAt(const QDateTime &now)
{
    if (!m_last.isValid() || m_last.secsTo(now) > timeline::kArrivalGapSeconds || now < m_last)
        m_since = now;
    m_last = now;
    return m_since;
}

ResultCollector::ResultCollector(QString exchangeFolder, QString applicationFolder,
                                 ResultStore &store, KnownResultFiles *known,
                                 CollectionWatch *watch)
    : m_exchangeFolder(std::move(exchangeFolder)),
      m_applicationFolder(std::move(applicationFolder)),
      m_store(store),
      m_known(known ? *known : m_ownKnown),
      m_watch(watch)
{
}

void ResultCollector::checkSignatures(std::shared_ptr<const RecordKeys> keys, bool mayWait)
{
    m_keys = std::move(keys);
    m_mayWaitForKeys = mayWait;
}

QString implausibleNameProblem(const ResultRecord &record)
{
    for (const QString *field : { &record.department, &record.examNumber, &record.name }) {
        if (field->size() > ResultCollector::kMaxNameChars)
            return QStringLiteral("部门、考号或姓名超过%1个字符")
                    .arg(ResultCollector::kMaxNameChars);
        for (QChar ch : *field) {
            if (ch.category() == QChar::Other_Control)
                return QStringLiteral("部门、考号或姓名含有控制字符");
        }
    }
    return {};
}

namespace {

// Why the unscrambled bytes cannot be a record, or empty.
QString shapeProblem(QByteArrayView plain)
{
    // Every record line ends in CR LF; a file that stops short of that is
    // still being uploaded and would give a cut-off name.
    if (!plain.endsWith('\n') && !plain.endsWith('\r'))
        return QStringLiteral("文件不完整，可能正在上传");
    // The lines before the answer sheet's text; a typed paragraph may be
    // longer than any of them.
    constexpr int kHeadLines = 18;
    qsizetype lineStart = 0;
    int lines = 0;
    for (qsizetype i = 0; i < plain.size() && lines < kHeadLines; ++i) {
        if (plain[i] != '\r' && plain[i] != '\n')
            continue;
        if (i - lineStart > ResultCollector::kMaxLineBytes)
            return QStringLiteral("有一行超过%1字节").arg(ResultCollector::kMaxLineBytes);
        lineStart = i + 1;
        lines += plain[i] == '\r';
    }
    return {};
}

// A record that names a publication other than the current one is of an
// earlier exam; a record or an exam without one cannot tell.
bool ofAnotherPublication(const ResultRecord &record, const QString &current)
{
    const QString named = publicationOf(record.sections);
    return !current.isEmpty() && !named.isEmpty() && named != current;
}

// A session's files collapse into one row; files without progress lines
// (an older client) or with an empty session id stay rows of their own.
// The identity is part of the key so that a record claiming another's
// session never hides a row.
QString sessionKey(const ResultRecord &record, RecordKeys::Verdict signature)
{
    if (!record.progress || record.progress->sessionId.isEmpty())
        return {};
    // A record not signed by its examinee never joins, and so never
    // replaces, the records of a signed session it claims.
    const QChar trust = signature == RecordKeys::Verdict::Signed ? QChar(u'+') : QChar(u'?');
    return trust + record.progress->sessionId + QChar(0)
            + identity::personKey(record.department, record.examNumber, record.name);
}

// Takes out the rows that are not signed as their examinee's.
QVector<CollectedResult> takeUnsigned(QVector<CollectedResult> &results)
{
    QVector<CollectedResult> taken;
    const auto firstUnsigned = std::stable_partition(
            results.begin(), results.end(), [](const CollectedResult &result) {
                return result.signature == RecordKeys::Verdict::Signed;
            });
    std::move(firstUnsigned, results.end(), std::back_inserter(taken));
    results.erase(firstUnsigned, results.end());
    return taken;
}

// The entry of a file named as the file system has it, for reading it.
ResultFileFolder::Entry entryNamed(const QByteArray &localName)
{
    return { QString::fromUtf8(localName), localName };
}

// Reads one file as a record; a file that could not be opened or read is
// not to be remembered, so the next collection tries again.
KnownResultFile readRecordFile(const ResultFileFolder &folder, const ResultFileFolder::Entry &entry,
                               QByteArray &plain, bool &remember)
{
    KnownResultFile file;
    file.size = entry.size;
    file.modified = entry.modified;
    const ResultFileFolder::Reading bytes = folder.read(entry);
    if (!bytes.bytes) {
        file.problem = bytes.problem;
        remember = false;
        return file;
    }
    plain = transcodeBytes(*bytes.bytes, kExchangeKey);
    file.problem = shapeProblem(plain);
    if (!file.problem.isEmpty())
        return file;
    file.reading = readResultRecord(plain);
    file.problem =
            file.reading.ok() ? implausibleNameProblem(*file.reading.record) : file.reading.problem;
    if (!file.problem.isEmpty())
        file.reading.record.reset();
    return file;
}

// The sheet and the timeline are what make a record large; its small
// sections (the publication, the signature) key its row and stay.
void dropTexts(ResultRecord &record)
{
    if (record.answerSheet)
        record.answerSheet->typedText = QString();
    auto &sections = record.sections;
    sections.erase(std::remove_if(sections.begin(), sections.end(),
                                  [](const RecordSection &section) {
                                      return section.name == keytimeline::kSectionName;
                                  }),
                   sections.end());
}

}  // namespace

CollectionReport ResultCollector::collect(const TextExaminer &examiner)
{
    CollectionReport report;
    // A folder that has gone (a drive not mounted, a wrong setting) must not
    // wipe the results of the last collection.
    if (!paths::exchangeFolderIsReady(m_exchangeFolder)) {
        report.problem = exchangeFolderMissingMessage(m_exchangeFolder);
        return report;
    }
    ResultFileFolder folder(m_exchangeFolder);
    const QVector<ResultFileFolder::Entry> entries = folder.list(report.problem);
    if (!report.problem.isEmpty())
        return report;

    // Published again with the last exam's files kept: those stay in the
    // folder, but are not this exam's rows.
    const QString publication = currentPublication(m_applicationFolder);
    QSet<QString> earlierExaminees;
    int earlierFiles = 0;
    QHash<QString, int> rowOfSession;
    QByteArray lastPlain;
    KnownResultFiles known;
    const QString judgedFor = m_keys ? m_keys->publicationId() : QString();
    for (const ResultFileFolder::Entry &entry : entries) {
        if (!entry.decodable) {
            report.skipped.append({ entry.name, QStringLiteral("文件名无法识别") });
            continue;
        }
        const auto before = m_known.constFind(entry.localName);
        KnownResultFile file;
        bool remember = true;
        // Examined on another basis (another exam), or not at all, it is
        // read again: its texts are gone.
        const bool sameBasis = before != m_known.cend()
                && (!before->reading.ok()
                    || (before->findings.has_value() == bool(examiner.examine)
                        && before->basis == examiner.basis));
        if (sameBasis && entry.size >= 0 && before->size == entry.size
            && before->modified == entry.modified && before->judgedFor == judgedFor)
            file = *before;
        else
            file = readFile(folder, entry, lastPlain, remember, examiner);
        if (remember)
            known.insert(entry.localName, file);
        if (!file.reading.ok()) {
            report.skipped.append({ entry.name, file.problem });
            continue;
        }
        const ResultRecordReading &reading = file.reading;
        if (ofAnotherPublication(*reading.record, publication)) {
            ++earlierFiles;
            earlierExaminees.insert(identity::personKey(
                    reading.record->department, reading.record->examNumber, reading.record->name));
            continue;
        }

        const QString key = sessionKey(*reading.record, file.signature);
        const auto known = key.isEmpty() ? rowOfSession.cend() : rowOfSession.constFind(key);
        if (known == rowOfSession.cend()) {
            if (!key.isEmpty())
                rowOfSession.insert(key, int(report.results.size()));
            CollectedResult result { *reading.record,
                                     reading.accuracyLine,
                                     { { entry.name, reading, entry.localName } },
                                     0,
                                     0,
                                     file.signature,
                                     file.findings };
            report.results.append(std::move(result));
            continue;
        }
        CollectedResult &result = report.results[*known];
        result.files.append({ entry.name, reading, entry.localName });
        // Equal sequence numbers: the file listed later wins.
        if (reading.record->progress->sequence >= result.record.progress->sequence) {
            result.record = *reading.record;
            result.accuracyLine = reading.accuracyLine;
            result.newest = int(result.files.size()) - 1;
            result.findings = file.findings;
        }
    }

    m_known = std::move(known);

    // Sessions are judged against what the console saw of them before,
    // also before a restart.
    SessionTable sessionTable(m_store.database());
    const auto sessions = sessionTable.load(publication);
    if (!sessions) {
        report.problem = sessionTable.problem();
        return report;
    }
    // What its examinee did not sign neither counts in their sessions nor
    // stands for them: it only shows, after the rest.
    QVector<CollectedResult> notSigned = takeUnsigned(report.results);
    SessionLedger ledger(*sessions);
    const QDateTime now = QDateTime::currentDateTimeUtc();
    ledger.observe(report.results, now, m_watch ? m_watch->collectedAt(now) : QDateTime());
    // A session that finished in this collection keeps the record its file
    // holds; read again one at a time, its texts never pile up.
    const SessionLedger::FinishedRecord collectedRecord = [&folder](const SessionEntry &entry) {
        QByteArray plain;
        bool remember = false;
        const KnownResultFile file =
                readRecordFile(folder, entryNamed(entry.finishedFile), plain, remember);
        return file.reading.ok() && finishedFigures(*file.reading.record) == entry.finishedFigures
                ? file.reading.record->toRecordLines()
                : QByteArray();
    };
    ledger.keepFinished(report.results, [&](const SessionEntry &entry) {
        return entry.finishedFile.isEmpty() ? sessionTable.finishedRecord(entry)
                                            : collectedRecord(entry);
    });
    if (!sessionTable.save(ledger.entries(), collectedRecord)) {
        report.problem = sessionTable.problem();
        return report;
    }
    report.sessions = ledger.entries();
    QSet<QString> collected;
    for (const CollectedResult &result : std::as_const(report.results))
        collected.insert(identity::personKey(result.record.department, result.record.examNumber,
                                             result.record.name));
    report.results += notSigned;

    // cj.zip is left holding the unscrambled copy of the last file read.
    // Nothing reads it: a full disk must not cost the collection.
    if (!lastPlain.isNull()) {
        const QString problem =
                wholefile::write(QDir(m_applicationFolder).filePath(scratchFileName()), lastPlain);
        if (!problem.isEmpty())
            report.notes << QStringLiteral("成绩已获取，但无法写入副本 %1（不影响成绩）：%2")
                                    .arg(scratchFileName(), problem);
    }

    QVector<ResultRow> rows;
    rows.reserve(report.results.size());
    for (const CollectedResult &result : std::as_const(report.results))
        rows.append(result.row(static_cast<qint32>(rows.size() + 1)));
    // Anyone may delete a file on some FTP services, and an emptied folder
    // must not empty the table: only clearing removes rows.
    const auto stored = m_store.rowsInRankOrder();
    if (!stored) {
        report.problem = m_store.lastError();
        return report;
    }
    for (const ResultRow &old : *stored) {
        // A row whose examinee's file is of an earlier exam is that exam's.
        const QString person = identity::personKey(old.department, old.examNumber, old.name);
        if (collected.contains(person) || earlierExaminees.contains(person))
            continue;
        const bool unreadable = std::any_of(
                report.skipped.cbegin(), report.skipped.cend(), [&old](const SkippedFile &file) {
                    return resultname::matchesIdentity(file.name, old.department, old.examNumber,
                                                       old.name);
                });
        ResultRow row = old;
        row.recNo = static_cast<qint32>(rows.size() + 1);
        rows.append(row);
        report.kept.append({ row, !unreadable });
    }
    if (!m_store.replaceAll(rows)) {
        report.problem = m_store.lastError();
        return report;
    }
    report.rowCount = static_cast<int>(rows.size());
    if (earlierFiles)
        report.notes << QStringLiteral("交换文件夹中有%1份以前发布的考试的成绩，不属于这次考试，"
                                       "没有计入。清空上次会删除它们。")
                                .arg(earlierFiles);
    return report;
}

KnownResultFile ResultCollector::readFile(const ResultFileFolder &folder,
                                          const ResultFileFolder::Entry &entry, QByteArray &plain,
                                          bool &remember, const TextExaminer &examiner) const
{
    KnownResultFile file = readRecordFile(folder, entry, plain, remember);
    if (!file.reading.ok())
        return file;
    if (m_keys) {
        file.judgedFor = m_keys->publicationId();
        file.signature = m_keys->check(plain, *file.reading.record, m_mayWaitForKeys);
        // Judged again once its key is there.
        remember = file.signature != RecordKeys::Verdict::Pending;
    }
    if (examiner.examine) {
        file.findings = examiner.examine(*file.reading.record);
        file.basis = examiner.basis;
        dropTexts(*file.reading.record);
    }
    return file;
}

ResultRecordReading readCollectedFile(const QString &exchangeFolder, const CollectedFile &file)
{
    const ResultFileFolder folder(exchangeFolder);
    QByteArray plain;
    bool remember = false;
    KnownResultFile read = readRecordFile(folder, entryNamed(file.localName), plain, remember);
    if (!read.reading.ok())
        read.reading.problem = read.problem;
    return read.reading;
}

QString skippedFilesMessage(const QVector<SkippedFile> &skipped)
{
    if (skipped.isEmpty())
        return {};
    // A long list would not fit on the screen; the first ones tell the story.
    constexpr int kListed = 20;
    QString text = QStringLiteral("有%1个成绩文件无法读取，没有计入成绩：").arg(skipped.size());
    for (int i = 0; i < skipped.size() && i < kListed; ++i)
        text += QLatin1Char('\n') + skipped.at(i).name + QStringLiteral("（") + skipped.at(i).reason
                + QStringLiteral("）");
    if (skipped.size() > kListed)
        text += QStringLiteral("\n……");
    return text;
}
