// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "collect/resultstore.h"

#include "exchange/diskspace.h"

#include <QAtomicInt>
#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <QCoreApplication>

namespace {

QString newConnectionName()
{
    static QAtomicInt counter;
    return QStringLiteral("kestrix-results-%1").arg(counter.fetchAndAddRelaxed(1));
}

}  // namespace

ResultRow resultRowFrom(const QSqlQuery &query, int first)
{
    ResultRow row;
    row.recNo = query.value(first).toInt();
    row.department = query.value(first + 1).toString();
    row.examNumber = query.value(first + 2).toString();
    row.name = query.value(first + 3).toString();
    row.speed = query.value(first + 4).toDouble();
    row.accuracyLine = query.value(first + 5).toString();
    row.timePass = static_cast<qint16>(query.value(first + 6).toInt());
    return row;
}

void bindResultRow(QSqlQuery &query, const ResultRow &row, int first)
{
    query.bindValue(first, row.recNo);
    query.bindValue(first + 1, row.department);
    query.bindValue(first + 2, row.examNumber);
    query.bindValue(first + 3, row.name);
    query.bindValue(first + 4, row.speed);
    query.bindValue(first + 5, row.accuracyLine);
    query.bindValue(first + 6, row.timePass);
}

ResultStore::ResultStore(const QString &databasePath)
    : m_connection(newConnectionName()), m_path(databasePath)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    db.setDatabaseName(databasePath);
    // Another program holding the file (a backup, a viewer, a second
    // console) gets a message within this, not a window that hangs.
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyMillis));
    if (!db.open()) {
        fail(tr("无法打开成绩数据库"), db.lastError().text());
        return;
    }
    QSqlQuery query(db);
    // A write-ahead log keeps every collection atomic while a commit costs no
    // wait for the disk; the rows can always be collected again from the
    // files that stay in the exchange folder. Each write is checkpointed
    // into cj.mdb itself (below), so a copy of that one file is a backup.
    if (!query.exec(QStringLiteral("PRAGMA journal_mode=WAL"))) {
        fail(QCoreApplication::translate("ResultStore", "无法打开成绩数据库"),
             query.lastError().text());
        return;
    }
    query.exec(QStringLiteral("PRAGMA synchronous=NORMAL"));
    // speed is REAL so the ranking compares numbers, not texts.
    if (!query.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS tabCJ ("
                                   "banname TEXT, xuehao TEXT, xingming TEXT, speed REAL, "
                                   "zhengquelv TEXT, timepass INTEGER, recno INTEGER)"))) {
        fail(tr("无法建立成绩表"), query.lastError().text());
        return;
    }
    m_open = true;
}

ResultStore::~ResultStore()
{
    close();
    QSqlDatabase::removeDatabase(m_connection);
}

void ResultStore::close()
{
    if (QSqlDatabase::contains(m_connection))
        QSqlDatabase::database(m_connection, false).close();
    m_open = false;
}

QSqlDatabase ResultStore::database() const
{
    return QSqlDatabase::database(m_connection, false);
}

bool ResultStore::fail(const QString &what, const QString &detail)
{
    m_lastError = tr("%1 %2：%3").arg(what, QDir::toNativeSeparators(m_path), detail);
    if (detail.contains(QLatin1String("locked")) || detail.contains(QLatin1String("busy")))
        m_lastError += tr("\n成绩数据库正被其他程序使用，请关闭那个程序后再试。");
    else if (const QString disk = diskspace::problem(m_path); !disk.isEmpty())
        m_lastError += u'\n' + disk;
    return false;
}

std::optional<int> ResultStore::rowCount()
{
    QSqlQuery query(database());
    if (!query.exec(QStringLiteral("SELECT COUNT(*) FROM tabCJ")) || !query.next()) {
        fail(tr("无法读取成绩表"), query.lastError().text());
        return std::nullopt;
    }
    return query.value(0).toInt();
}

bool ResultStore::clear()
{
    return replaceAll({});
}

bool ResultStore::replaceAll(const QVector<ResultRow> &rows)
{
    QSqlDatabase db = database();
    QSqlQuery query(db);
    // The writer's lock from the start: the table compared is the table
    // replaced, even with a second console on the same file.
    if (!query.exec(QStringLiteral("BEGIN IMMEDIATE")))
        return fail(tr("无法写入成绩表"), query.lastError().text());
    // The automatic collection comes every few seconds and mostly finds
    // nothing new: then cj.mdb is neither rewritten nor checkpointed.
    QString unread;  // a table that cannot be read is replaced all the same
    const std::optional<QVector<ResultRow>> current =
            readRows(QStringLiteral("ORDER BY rowid"), unread);
    if (current && *current == rows) {
        if (!query.exec(QStringLiteral("COMMIT")))
            query.exec(QStringLiteral("ROLLBACK"));
        // A checkpoint that a reader held up earlier is finished now, so
        // that cj.mdb alone still holds the rows.
        if (QFileInfo(m_path + QStringLiteral("-wal")).size() > 0)
            checkpoint();
        return true;
    }
    bool ok = query.exec(QStringLiteral("DELETE FROM tabCJ"));
    if (ok)
        ok = query.prepare(QStringLiteral(
                "INSERT INTO tabCJ (recno, banname, xuehao, xingming, speed, zhengquelv, timepass) "
                "VALUES (?, ?, ?, ?, ?, ?, ?)"));
    for (const ResultRow &row : rows) {
        if (!ok)
            break;
        bindResultRow(query, row);
        ok = query.exec();
    }
    QSqlQuery end(db);
    if (ok && end.exec(QStringLiteral("COMMIT"))) {
        checkpoint();
        return true;
    }
    const QString detail =
            query.lastError().isValid() ? query.lastError().text() : end.lastError().text();
    QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
    return fail(tr("无法写入成绩表"), detail);
}

void ResultStore::checkpoint()
{
    // The rows move from cj.mdb-wal into cj.mdb, and the log is emptied.
    QSqlQuery(database()).exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
}

std::optional<QVector<ResultRow>> ResultStore::readRows(const QString &order, QString &problem)
{
    QVector<ResultRow> rows;
    QSqlQuery query(database());
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT recno, banname, xuehao, xingming, speed, zhengquelv, "
                                   "timepass FROM tabCJ ")
                    + order)) {
        problem = query.lastError().text();
        return std::nullopt;
    }
    while (query.next())
        rows.append(resultRowFrom(query));
    return rows;
}

std::optional<QVector<ResultRow>> ResultStore::rowsInRankOrder()
{
    QString problem;
    std::optional<QVector<ResultRow>> rows = readRows(rankOrder(), problem);
    if (!rows)
        fail(tr("无法读取成绩表"), problem);
    return rows;
}
