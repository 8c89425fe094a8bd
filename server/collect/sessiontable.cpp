// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "collect/sessiontable.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>

namespace {

QVariant timeValue(const QDateTime &time)
{
    return time.isValid() ? QVariant(time.toMSecsSinceEpoch()) : QVariant();
}

QDateTime timeOf(const QVariant &value)
{
    return value.isNull() ? QDateTime()
                          : QDateTime::fromMSecsSinceEpoch(value.toLongLong(), Qt::UTC);
}

}  // namespace

SessionTable::SessionTable(QSqlDatabase database) : m_db(std::move(database))
{
    QSqlQuery query(m_db);
    if (!query.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS tabSessions ("
                                   "person TEXT, session TEXT, phase TEXT, sequence INTEGER, "
                                   "timepass INTEGER, resumes INTEGER, changed INTEGER, "
                                   "resumed INTEGER, finished BLOB, figures BLOB, "
                                   "altered INTEGER, aside INTEGER)")))
        fail(query.lastError().text());
    else if (!query.exec(QStringLiteral("CREATE UNIQUE INDEX IF NOT EXISTS tabSessionsKey "
                                        "ON tabSessions (person, session)")))
        fail(query.lastError().text());
    else
        addTimelineColumns();
}

void SessionTable::addTimelineColumns()
{
    // A table from before the timeline was judged, before publications or
    // before spellings gains its columns.
    QSqlQuery query(m_db);
    QStringList present;
    if (!query.exec(QStringLiteral("PRAGMA table_info(tabSessions)"))) {
        fail(query.lastError().text());
        return;
    }
    while (query.next())
        present << query.value(1).toString();
    const QStringList added { QStringLiteral("process INTEGER"),  QStringLiteral("arrived INTEGER"),
                              QStringLiteral("clocked INTEGER"),  QStringLiteral("doubts TEXT"),
                              QStringLiteral("publication TEXT"), QStringLiteral("spelling TEXT"),
                              QStringLiteral("chain TEXT") };
    for (const QString &column : added) {
        if (present.contains(column.section(u' ', 0, 0)))
            continue;
        if (!query.exec(QStringLiteral("ALTER TABLE tabSessions ADD COLUMN ") + column)) {
            fail(query.lastError().text());
            return;
        }
    }
}

bool SessionTable::fail(const QString &detail)
{
    m_problem = tr("无法读写考试会话表：%1").arg(detail);
    return false;
}

std::optional<QVector<SessionEntry>> SessionTable::load(const QStringList &publications)
{
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    if (!query.exec(
                QStringLiteral("SELECT person, session, phase, sequence, timepass, resumes, "
                               "changed, resumed, CASE WHEN aside THEN finished END, figures, "
                               "altered, aside, process, arrived, clocked, doubts, "
                               "publication, spelling, chain FROM tabSessions ORDER BY rowid"))) {
        fail(query.lastError().text());
        return std::nullopt;
    }
    QVector<SessionEntry> entries;
    while (query.next()) {
        SessionEntry entry;
        entry.person = query.value(0).toString();
        entry.sessionId = query.value(1).toString();
        entry.phase =
                phaseFromWord(query.value(2).toString()).value_or(ResultProgress::Phase::Waiting);
        entry.sequence = query.value(3).toInt();
        entry.timePass = qint16(query.value(4).toInt());
        entry.resumeCount = query.value(5).toInt();
        entry.lastChange = timeOf(query.value(6));
        entry.resumedAt = timeOf(query.value(7));
        entry.finishedRecord = query.value(8).toByteArray();
        entry.finishedFigures = query.value(9).toByteArray();
        entry.changedAfterFinish = query.value(10).toBool();
        entry.setAside = query.value(11).toBool();
        entry.sawProcess = query.value(12).toBool();
        entry.arrivedSeconds = query.value(13).toInt();
        entry.clockedSeconds = query.value(14).toInt();
        entry.timelineDoubts = query.value(15).toString().split(u'\n', Qt::SkipEmptyParts);
        entry.publication = query.value(16).toString();
        entry.spelling = query.value(17).toString();
        entry.timelineChain = TimelineChainMark::fromText(query.value(18).toByteArray());
        if (!publications.isEmpty() && !entry.publication.isEmpty()
            && !publications.contains(entry.publication))
            continue;
        entry.stored = true;
        entries.append(entry);
    }
    return entries;
}

QByteArray SessionTable::finishedRecord(const SessionEntry &entry)
{
    if (!entry.finishedRecord.isEmpty())
        return entry.finishedRecord;
    QSqlQuery query(m_db);
    query.prepare(
            QStringLiteral("SELECT finished FROM tabSessions WHERE person = ? AND session = ?"));
    query.bindValue(0, entry.person);
    query.bindValue(1, entry.sessionId);
    return query.exec() && query.next() ? query.value(0).toByteArray() : QByteArray();
}

bool SessionTable::clear()
{
    QSqlQuery query(m_db);
    return query.exec(QStringLiteral("DELETE FROM tabSessions")) || fail(query.lastError().text());
}

bool SessionTable::save(const QVector<SessionEntry> &entries,
                        const SessionLedger::FinishedRecord &collectedRecord)
{
    // The automatic collection mostly changes nothing.
    if (std::none_of(entries.cbegin(), entries.cend(),
                     [](const SessionEntry &entry) { return entry.dirty; }))
        return true;
    QSqlQuery query(m_db);
    if (!query.exec(QStringLiteral("BEGIN IMMEDIATE")))
        return fail(query.lastError().text());
    QSqlQuery insert(m_db), update(m_db), finish(m_db);
    bool ok = insert.prepare(QStringLiteral(
                      "INSERT INTO tabSessions (phase, sequence, timepass, resumes, changed, "
                      "resumed, figures, altered, aside, process, arrived, clocked, doubts, chain, "
                      "person, session, finished, publication, spelling) "
                      "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"))
            && update.prepare(QStringLiteral(
                    "UPDATE tabSessions SET phase = ?, sequence = ?, timepass = ?, resumes = ?, "
                    "changed = ?, resumed = ?, figures = ?, altered = ?, aside = ?, process = ?, "
                    "arrived = ?, clocked = ?, doubts = ?, chain = ? WHERE person = ? AND session "
                    "= ?"))
            && finish.prepare(QStringLiteral(
                    "UPDATE tabSessions SET finished = ? WHERE person = ? AND session = ?"));
    for (const SessionEntry &entry : entries) {
        if (!ok)
            break;
        if (!entry.dirty)
            continue;
        QSqlQuery &write = entry.stored ? update : insert;
        const QVariantList values { phaseWord(entry.phase),
                                    entry.sequence,
                                    entry.timePass,
                                    entry.resumeCount,
                                    timeValue(entry.lastChange),
                                    timeValue(entry.resumedAt),
                                    entry.finishedFigures,
                                    entry.changedAfterFinish,
                                    entry.setAside,
                                    entry.sawProcess,
                                    entry.arrivedSeconds,
                                    entry.clockedSeconds,
                                    entry.timelineDoubts.join(u'\n'),
                                    entry.timelineChain ? QVariant(entry.timelineChain->toText())
                                                        : QVariant(),
                                    entry.person,
                                    entry.sessionId };
        for (int i = 0; i < values.size(); ++i)
            write.bindValue(i, values[i]);
        // One at a time: a flood of large records must not fill the memory.
        const QByteArray finished = entry.finishedFile.isEmpty() || !collectedRecord
                ? entry.finishedRecord
                : collectedRecord(entry);
        // A session's publication and spelling are those of its first
        // record: written once.
        if (!entry.stored) {
            write.bindValue(int(values.size()), finished);
            write.bindValue(int(values.size()) + 1, entry.publication);
            write.bindValue(int(values.size()) + 2, entry.spelling);
        }
        ok = write.exec();
        // A session that finished since it was stored keeps its record now.
        if (ok && entry.stored && !finished.isEmpty()) {
            finish.bindValue(0, finished);
            finish.bindValue(1, entry.person);
            finish.bindValue(2, entry.sessionId);
            ok = finish.exec();
        }
    }
    QSqlQuery end(m_db);
    if (ok && end.exec(QStringLiteral("COMMIT")))
        return true;
    QString detail = end.lastError().text();
    for (const QSqlQuery *failed : { &insert, &update, &finish }) {
        if (failed->lastError().isValid())
            detail = failed->lastError().text();
    }
    QSqlQuery(m_db).exec(QStringLiteral("ROLLBACK"));
    return fail(detail);
}
