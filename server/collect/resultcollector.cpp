// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "collect/resultcollector.h"

#include "publish/exchangefolder.h"
#include "exchange/identity.h"
#include "exchange/paths.h"
#include "collect/publicationcheck.h"
#include "collect/resultfiles.h"
#include "collect/retake.h"
#include "collect/sessiontable.h"
#include "collect/sessionrules.h"
#include "exchange/resultfilename.h"
#include "exchange/wholefile.h"

#include <QDateTime>
#include <QDir>
#include <QHash>
#include <QSet>
#include <QStringList>

#include <algorithm>
#include <QCoreApplication>

QDateTime CollectionWatch::collectedAt(const QDateTime &now)
{
    if (!m_last.isValid() || m_last.secsTo(now) > sessionrules::kArrivalGapSeconds || now < m_last)
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
    PublicationCheck publications(m_applicationFolder);
    QSet<QString> earlierExaminees;
    ResultFileReader reader(folder, m_keys, m_mayWaitForKeys, examiner);
    CollectedRows rows;
    KnownResultFiles known;
    for (const ResultFileFolder::Entry &entry : entries) {
        if (!entry.decodable) {
            report.skipped.append({ entry.name, tr("文件名无法识别") });
            continue;
        }
        bool remember = true;
        const KnownResultFile file = reader.readOrRecall(entry, m_known, remember);
        if (remember)
            known.insert(entry.localName, file);
        if (!file.reading.ok()) {
            report.skipped.append({ entry.name, file.problem });
            continue;
        }
        const ResultRecord &record = *file.reading.record;
        if (!publications.admits(record)) {
            earlierExaminees.insert(
                    identity::personKey(record.department, record.examNumber, record.name));
            continue;
        }
        rows.add(entry.name, entry.localName, file);
    }
    m_known = std::move(known);

    // Sessions are judged against what the console saw of them before,
    // also before a restart.
    SessionTable sessionTable(m_store.database());
    const auto sessions = sessionTable.load(publications.sessionPublications());
    if (!sessions) {
        report.problem = sessionTable.problem();
        return report;
    }
    // What its examinee did not sign neither counts in their sessions nor
    // stands for them: it only shows, after the rest.
    const QVector<CollectedResult> notSigned = rows.takeUnsigned();
    report.results = std::move(rows.results());
    SessionLedger ledger(*sessions, publications.sessionPublications());
    const QDateTime now = QDateTime::currentDateTimeUtc();
    // The collection let the timelines go: each newer record's is read
    // again, one at a time, and only while the file still holds that record.
    const SessionLedger::TimelineOf timelineOf =
            [&folder](const CollectedFile &file) -> std::optional<RecordTimeline> {
        const ResultRecordReading reading = readNamedResultFile(folder, file.localName);
        const ResultProgress &collected = *file.reading.record->progress;
        if (!reading.ok() || !reading.record->progress
            || reading.record->progress->sessionId != collected.sessionId
            || reading.record->progress->sequence != collected.sequence)
            return std::nullopt;
        return readRecordTimeline(*reading.record);
    };
    ledger.observe(report.results, now, m_watch ? m_watch->collectedAt(now) : QDateTime(),
                   publications.firstPublishedAt(), timelineOf);
    // A session that finished in this collection keeps the record its file
    // holds; read again one at a time, its texts never pile up.
    const SessionLedger::FinishedRecord collectedRecord = [&folder](const SessionEntry &entry) {
        const ResultRecordReading reading = readNamedResultFile(folder, entry.finishedFile);
        return reading.ok() && finishedFigures(*reading.record) == entry.finishedFigures
                ? reading.record->toRecordLines()
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
    // Only a retake the examiner allowed lets a finished examinee in again.
    for (const QString &leave : Retake::removeUngranted(m_exchangeFolder, ledger))
        report.notes << tr("交换文件夹中的%1不是监考老师为这场考试允许重考时留下的，已删除。")
                                .arg(leave);
    QSet<QString> collected;
    for (const CollectedResult &result : std::as_const(report.results))
        collected.insert(identity::personKey(result.record.department, result.record.examNumber,
                                             result.record.name));
    const QVector<ResultRow> notSignedRows = [&notSigned] {
        QVector<ResultRow> rows;
        for (const CollectedResult &result : notSigned)
            rows << result.row(0);
        return rows;
    }();
    report.results += notSigned;
    publications.markForged(report.results);

    // cj.zip is left holding the unscrambled copy of the last file read.
    // Nothing reads it: a full disk must not cost the collection.
    if (!reader.lastPlain().isNull()) {
        const QString problem = wholefile::write(
                QDir(m_applicationFolder).filePath(scratchFileName()), reader.lastPlain());
        if (!problem.isEmpty())
            report.notes << tr("成绩已获取，但无法写入副本 %1（不影响成绩）：%2")
                                    .arg(scratchFileName(), problem);
    }

    QVector<ResultRow> tableRows;
    tableRows.reserve(report.results.size());
    for (const CollectedResult &result : std::as_const(report.results))
        tableRows.append(result.row(static_cast<qint32>(tableRows.size() + 1)));
    report.problem =
            keepEarlierRows(tableRows, { collected, earlierExaminees, notSignedRows }, report);
    if (!report.problem.isEmpty())
        return report;
    if (!m_store.replaceAll(tableRows)) {
        report.problem = m_store.lastError();
        return report;
    }
    report.rowCount = static_cast<int>(tableRows.size());
    if (const QString note = publications.leftOutNote(); !note.isEmpty())
        report.notes << note;
    return report;
}

namespace {

// A row's figures without its place in the table.
QString figuresKey(const ResultRow &row)
{
    return QStringList { row.department,   row.examNumber,
                         row.name,         QString::number(row.speed, 'g', 17),
                         row.accuracyLine, QString::number(row.timePass) }
            .join(QChar(0));
}

QString personOf(const ResultRow &row)
{
    return identity::personKey(row.department, row.examNumber, row.name);
}

}  // namespace

QString ResultCollector::keepEarlierRows(QVector<ResultRow> &rows, const RowsNow &now,
                                         CollectionReport &report)
{
    // Anyone may delete a file on some FTP services, and an emptied folder
    // must not empty the table: only clearing removes rows.
    const auto stored = m_store.rowsInRankOrder();
    if (!stored)
        return m_store.lastError();
    QSet<QString> withSession;
    for (const SessionEntry &entry : std::as_const(report.sessions))
        withSession.insert(entry.person);
    // The last table repeats the unsigned files still in the folder. Of an
    // examinee whose own session the console saw, one row of their own is
    // kept: the first unlike every unsigned file, or else the first.
    QSet<QString> notSignedFigures;
    QSet<QString> notSignedPeople;
    QHash<QString, int> ownRowOf;
    for (const ResultRow &row : now.notSigned) {
        const QString person = personOf(row);
        notSignedFigures.insert(figuresKey(row));
        notSignedPeople.insert(person);
        if (withSession.contains(person))
            ownRowOf.insert(person, -1);
    }
    for (int i = 0; i < stored->size(); ++i) {
        const auto own = ownRowOf.find(personOf(stored->at(i)));
        if (own != ownRowOf.end()
            && (*own < 0
                || (notSignedFigures.contains(figuresKey(stored->at(*own)))
                    && !notSignedFigures.contains(figuresKey(stored->at(i))))))
            *own = i;
    }
    QSet<QString> keptFigures;
    for (int i = 0; i < stored->size(); ++i) {
        const ResultRow &old = stored->at(i);
        // A row whose examinee's file is of an earlier exam is that exam's.
        const QString person = personOf(old);
        if (now.collected.contains(person) || now.earlierExaminees.contains(person))
            continue;
        if (notSignedPeople.contains(person) && ownRowOf.value(person, -1) != i)
            continue;
        // Copies of one row that earlier collections left count once.
        const QString figures = figuresKey(old);
        if (keptFigures.contains(figures))
            continue;
        keptFigures.insert(figures);
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
    return {};
}

QString skippedFilesMessage(const QVector<SkippedFile> &skipped)
{
    if (skipped.isEmpty())
        return {};
    // A long list would not fit on the screen; the first ones tell the story.
    constexpr int kListed = 20;
    QString text =
            QCoreApplication::translate("ResultCollector", "有%1个成绩文件无法读取，没有计入成绩：")
                    .arg(skipped.size());
    for (int i = 0; i < skipped.size() && i < kListed; ++i)
        text += QLatin1Char('\n') + skipped.at(i).name
                + QCoreApplication::translate("ResultCollector", "（") + skipped.at(i).reason
                + QCoreApplication::translate("ResultCollector", "）");
    if (skipped.size() > kListed)
        text += QStringLiteral("\n……");
    return text;
}
