#include "collect/sessiontable.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

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
}

bool SessionTable::fail(const QString &detail)
{
    m_problem = QStringLiteral("无法读写考试会话表：%1").arg(detail);
    return false;
}

std::optional<QVector<SessionEntry>> SessionTable::load()
{
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT person, session, phase, sequence, timepass, resumes, "
                                   "changed, resumed, finished, figures, altered, aside "
                                   "FROM tabSessions ORDER BY rowid"))) {
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
        entries.append(entry);
    }
    return entries;
}

bool SessionTable::save(const QVector<SessionEntry> &entries)
{
    // Compared first: the automatic collection mostly changes nothing.
    if (const auto current = load(); current && *current == entries)
        return true;
    QSqlQuery query(m_db);
    if (!query.exec(QStringLiteral("BEGIN IMMEDIATE")))
        return fail(query.lastError().text());
    bool ok = query.exec(QStringLiteral("DELETE FROM tabSessions"))
            && query.prepare(QStringLiteral(
                    "INSERT INTO tabSessions (person, session, phase, sequence, timepass, resumes, "
                    "changed, resumed, finished, figures, altered, aside) "
                    "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    for (const SessionEntry &entry : entries) {
        if (!ok)
            break;
        query.bindValue(0, entry.person);
        query.bindValue(1, entry.sessionId);
        query.bindValue(2, phaseWord(entry.phase));
        query.bindValue(3, entry.sequence);
        query.bindValue(4, entry.timePass);
        query.bindValue(5, entry.resumeCount);
        query.bindValue(6, timeValue(entry.lastChange));
        query.bindValue(7, timeValue(entry.resumedAt));
        query.bindValue(8, entry.finishedRecord);
        query.bindValue(9, entry.finishedFigures);
        query.bindValue(10, entry.changedAfterFinish);
        query.bindValue(11, entry.setAside);
        ok = query.exec();
    }
    QSqlQuery end(m_db);
    if (ok && end.exec(QStringLiteral("COMMIT")))
        return true;
    const QString detail =
            query.lastError().isValid() ? query.lastError().text() : end.lastError().text();
    QSqlQuery(m_db).exec(QStringLiteral("ROLLBACK"));
    return fail(detail);
}
