// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/archivedcolumns.h"

#include "archive/boundstatement.h"

#include <QHash>
#include <QCoreApplication>

namespace archivecolumns {

namespace {

// A scale that no longer reads (edited by hand) grades with the standard one.
GradingScale scaleOf(const QVariant &text)
{
    return GradingScale::fromText(text.toString()).scale.value_or(GradingScale::standard());
}

}  // namespace

QVariant timeValue(const QDateTime &time)
{
    return time.isValid() ? QVariant(time.toUTC().toString(Qt::ISODate))
                          : QVariant(QMetaType::fromType<QString>());
}

QDateTime timeOf(const QVariant &value)
{
    return value.isNull() ? QDateTime() : QDateTime::fromString(value.toString(), Qt::ISODate);
}

QString examColumns()
{
    return QStringLiteral("id, exam_key, opened_at, closed_at, archived_at, article_name, "
                          "article_text, exam_minutes, roster, grading, lab, teacher, "
                          "publication, lab_role");
}

QString stateCode(ExamineeState state)
{
    switch (state) {
    case ExamineeState::Absent:
        return QStringLiteral("absent");
    case ExamineeState::Waiting:
        return QStringLiteral("waiting");
    case ExamineeState::Typing:
        return QStringLiteral("typing");
    case ExamineeState::Finished:
        return QStringLiteral("finished");
    case ExamineeState::Interrupted:
        return QStringLiteral("interrupted");
    }
    return {};
}

ExamineeState storedState(const QVariant &code, qint16 timePass)
{
    const QString text = code.toString();
    for (const ExamineeState state : kExamineeStates) {
        if (text == stateCode(state))
            return state;
    }
    return timePass > 0 ? ExamineeState::Interrupted : ExamineeState::Waiting;
}

QString rowColumns()
{
    return QStringLiteral("department, exam_number, name, speed, accuracy_line, time_pass, "
                          "rec_no, state");
}

ArchivedExam examAt(const QSqlQuery &query)
{
    ArchivedExam exam;
    exam.id = query.value(0).toLongLong();
    exam.sitting.key = query.value(1).toString();
    exam.sitting.openedAt = timeOf(query.value(2));
    exam.sitting.closedAt = timeOf(query.value(3));
    exam.sitting.archivedAt = timeOf(query.value(4));
    exam.sitting.articleName = query.value(5).toString();
    exam.sitting.articleText = query.value(6).toString();
    exam.sitting.examMinutes = static_cast<qint16>(query.value(7).toInt());
    exam.sitting.roster = query.value(8).toString();
    exam.sitting.scale = scaleOf(query.value(9));
    exam.sitting.lab = query.value(10).toString();
    exam.sitting.teacher = query.value(11).toString();
    exam.sitting.publication = query.value(12).toString();
    exam.sitting.labRole = query.value(13).toString();
    return exam;
}

ArchivedRow rowAt(const QSqlQuery &query, int first)
{
    ArchivedRow row;
    row.department = query.value(first).toString();
    row.examNumber = query.value(first + 1).toString();
    row.name = query.value(first + 2).toString();
    row.speed = query.value(first + 3).toDouble();
    row.accuracyLine = query.value(first + 4).toString();
    row.timePass = static_cast<qint16>(query.value(first + 5).toInt());
    row.recNo = query.value(first + 6).toInt();
    row.state = storedState(query.value(first + 7), row.timePass);
    return row;
}

void addRowsTo(QSqlQuery &query, QVector<ArchivedExam> &exams)
{
    QHash<qint64, int> indexOf;
    indexOf.reserve(exams.size());
    for (int i = 0; i < exams.size(); ++i)
        indexOf.insert(exams[i].id, i);
    while (query.next()) {
        if (const int index = indexOf.value(query.value(0).toLongLong(), -1); index >= 0)
            exams[index].rows.append(rowAt(query, 1));
    }
}

void addDoubtsTo(QSqlQuery &query,
                 const std::function<ArchivedRow *(qint64 examId, int position)> &rowOf)
{
    while (query.next()) {
        if (ArchivedRow *row = rowOf(query.value(0).toLongLong(), query.value(1).toInt()))
            row->doubts.append(query.value(2).toString());
    }
}

bool readRowsOf(QSqlQuery &query, QVector<ArchivedExam> &exams)
{
    if (exams.isEmpty())
        return true;
    QStringList ids;
    ids.reserve(exams.size());
    for (const ArchivedExam &exam : std::as_const(exams))
        ids.append(QString::number(exam.id));
    const QString where = QStringLiteral("WHERE exam_id IN (%1)").arg(ids.join(u','));
    if (!query.exec(
                QStringLiteral("SELECT exam_id, %1 FROM exam_rows %2 ORDER BY exam_id, position")
                        .arg(rowColumns(), where)))
        return false;
    addRowsTo(query, exams);
    return readDoubtsOf(query, exams, where);
}

bool readDoubtsOf(QSqlQuery &query, QVector<ArchivedExam> &exams, const QString &where)
{
    if (!query.exec(QStringLiteral("SELECT exam_id, row_position, doubt FROM row_doubts %1 "
                                   "ORDER BY exam_id, row_position, position")
                            .arg(where)))
        return false;
    QHash<qint64, int> indexOf;
    indexOf.reserve(exams.size());
    for (int i = 0; i < exams.size(); ++i)
        indexOf.insert(exams[i].id, i);
    addDoubtsTo(query, [&](qint64 examId, int position) -> ArchivedRow * {
        const int index = indexOf.value(examId, -1);
        if (index < 0 || position < 0 || position >= exams[index].rows.size())
            return nullptr;
        return &exams[index].rows[position];
    });
    return true;
}

QString writeRows(const QSqlDatabase &connection, qint64 id, const QVector<ArchivedRow> &rows)
{
    QSqlQuery rowQuery(connection);
    QSqlQuery doubtQuery(connection);
    QString detail = boundstatement::prepare(
            rowQuery,
            QStringLiteral("INSERT INTO exam_rows (exam_id, position, department, exam_number, "
                           "name, speed, accuracy_line, time_pass, rec_no, state) "
                           "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    if (detail.isEmpty())
        detail = boundstatement::prepare(doubtQuery,
                                         QStringLiteral("INSERT INTO row_doubts (exam_id, "
                                                        "row_position, position, doubt) "
                                                        "VALUES (?, ?, ?, ?)"));
    for (int position = 0; detail.isEmpty() && position < rows.size(); ++position) {
        const ArchivedRow &row = rows[position];
        detail = boundstatement::execute(rowQuery,
                                         { id, position, row.department, row.examNumber, row.name,
                                           row.speed, row.accuracyLine, row.timePass, row.recNo,
                                           stateCode(row.state) });
        for (int d = 0; detail.isEmpty() && d < row.doubts.size(); ++d)
            detail = boundstatement::execute(doubtQuery, { id, position, d, row.doubts[d] });
    }
    return detail;
}

QString cannotRead()
{
    return QCoreApplication::translate("Archivecolumns", "无法读取考试存档");
}

}  // namespace archivecolumns
