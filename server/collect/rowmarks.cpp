// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "collect/rowmarks.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {

// A forged file name may hold any sign, line breaks too: lists go as JSON.
QString listText(const QStringList &list)
{
    return QString::fromUtf8(
            QJsonDocument(QJsonArray::fromStringList(list)).toJson(QJsonDocument::Compact));
}

QStringList listOf(const QVariant &value)
{
    QStringList list;
    for (const QJsonValue &item : QJsonDocument::fromJson(value.toString().toUtf8()).array())
        list << item.toString();
    return list;
}

template <typename T>
QVariant optionalValue(const std::optional<T> &value)
{
    return value ? QVariant::fromValue(*value) : QVariant();
}

}  // namespace

RowMarkTable::RowMarkTable(QSqlDatabase database) : m_db(std::move(database))
{
    QSqlQuery query(m_db);
    if (!query.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS tabMarks ("
                                   "recno INTEGER, banname TEXT, xuehao TEXT, xingming TEXT, "
                                   "speed REAL, zhengquelv TEXT, timepass INTEGER, state INTEGER, "
                                   "counted INTEGER, progress REAL, doubts TEXT, aside TEXT, "
                                   "note TEXT, wrong INTEGER, ordinal INTEGER, lastminute REAL)")))
        fail(query.lastError().text());
}

bool RowMarkTable::fail(const QString &detail)
{
    m_problem = tr("无法读写成绩标记表：%1").arg(detail);
    return false;
}

std::optional<QVector<MarkedRow>> RowMarkTable::load()
{
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral(
                "SELECT recno, banname, xuehao, xingming, speed, zhengquelv, timepass, state, "
                "counted, progress, doubts, aside, note, wrong, ordinal, lastminute FROM "
                "tabMarks"))) {
        fail(query.lastError().text());
        return std::nullopt;
    }
    QVector<MarkedRow> rows;
    while (query.next()) {
        MarkedRow marked { resultRowFrom(query), {} };
        RowMarks &marks = marked.marks;
        marks.state = static_cast<ExamineeState>(query.value(7).toInt());
        marks.counted = query.value(8).toBool();
        if (!query.isNull(9))
            marks.progress = query.value(9).toDouble();
        marks.doubts = listOf(query.value(10));
        marks.setAside = listOf(query.value(11));
        marks.stateNote = query.value(12).toString();
        if (!query.isNull(13))
            marks.wrongCount = query.value(13).toInt();
        marks.loginOrdinal = query.value(14).toInt();
        if (!query.isNull(15))
            marks.lastMinuteSpeed = query.value(15).toDouble();
        rows << marked;
    }
    return rows;
}

bool RowMarkTable::replaceAll(const QVector<MarkedRow> &rows)
{
    QSqlQuery query(m_db);
    if (!query.exec(QStringLiteral("BEGIN IMMEDIATE")))
        return fail(query.lastError().text());
    bool ok = query.exec(QStringLiteral("DELETE FROM tabMarks"))
            && query.prepare(QStringLiteral("INSERT INTO tabMarks VALUES "
                                            "(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    for (const MarkedRow &marked : rows) {
        if (!ok)
            break;
        bindResultRow(query, marked.row);
        const RowMarks &marks = marked.marks;
        const QVariantList values { int(marks.state),
                                    marks.counted,
                                    optionalValue(marks.progress),
                                    listText(marks.doubts),
                                    listText(marks.setAside),
                                    marks.stateNote,
                                    optionalValue(marks.wrongCount),
                                    marks.loginOrdinal,
                                    optionalValue(marks.lastMinuteSpeed) };
        // After the row's seven columns.
        for (int i = 0; i < values.size(); ++i)
            query.bindValue(7 + i, values.at(i));
        ok = query.exec();
    }
    QSqlQuery end(m_db);
    if (ok && end.exec(QStringLiteral("COMMIT"))) {
        copyIntoFile();
        return true;
    }
    const QString detail =
            query.lastError().isValid() ? query.lastError().text() : end.lastError().text();
    QSqlQuery(m_db).exec(QStringLiteral("ROLLBACK"));
    return fail(detail);
}

bool RowMarkTable::clear()
{
    QSqlQuery query(m_db);
    if (!query.exec(QStringLiteral("DELETE FROM tabMarks")))
        return fail(query.lastError().text());
    copyIntoFile();
    return true;
}

void RowMarkTable::copyIntoFile()
{
    // The marks move from cj.mdb-wal into cj.mdb as the rows do, so that a
    // copy of that one file taken while the console runs holds both.
    QSqlQuery(m_db).exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
}
