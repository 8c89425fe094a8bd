// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/archivedcolumns.h"

#include <QHash>

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

QString rowColumns()
{
    return QStringLiteral("department, exam_number, name, speed, accuracy_line, time_pass, "
                          "rec_no, state, doubts");
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
    row.state = query.value(first + 7).toString();
    row.doubts = query.value(first + 8).toString();
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

bool readRowsOf(QSqlQuery &query, QVector<ArchivedExam> &exams)
{
    if (exams.isEmpty())
        return true;
    QStringList ids;
    ids.reserve(exams.size());
    for (const ArchivedExam &exam : std::as_const(exams))
        ids.append(QString::number(exam.id));
    if (!query.exec(QStringLiteral("SELECT exam_id, %1 FROM exam_rows WHERE exam_id IN (%2) "
                                   "ORDER BY exam_id, position")
                            .arg(rowColumns(), ids.join(u','))))
        return false;
    addRowsTo(query, exams);
    return true;
}

QString cannotRead()
{
    return QStringLiteral("无法读取考试存档");
}

}  // namespace archivecolumns
