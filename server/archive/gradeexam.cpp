// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/gradeexam.h"

#include "archive/archivedcolumns.h"
#include "archive/boundstatement.h"
#include "archive/examarchive.h"

#include <QSqlError>
#include <QSqlQuery>

namespace gradeexam {

HalfDay halfDayOf(const QDateTime &when)
{
    const QDateTime local = when.toLocalTime();
    const QTime noon(12, 0);
    if (local.time() < noon)
        return { QDateTime(local.date(), QTime(0, 0)), QDateTime(local.date(), noon) };
    return { QDateTime(local.date(), noon), QDateTime(local.date().addDays(1), QTime(0, 0)) };
}

}  // namespace gradeexam

namespace {

// As the archive stores a time: ISO 8601 in UTC, which sorts as text.
QString storedTime(const QDateTime &time)
{
    return time.toUTC().toString(Qt::ISODate);
}

}  // namespace

ArchiveRead<QVector<ArchivedExam>> ExamArchive::gradeExamOf(qint64 id)
{
    const ArchiveRead<ArchivedExam> chosen = examWithoutRows(id);
    if (!chosen.value)
        return { std::nullopt, chosen.problem };
    const ExamSitting &sitting = chosen.value->sitting;
    const gradeexam::HalfDay halfDay = gradeexam::halfDayOf(sitting.heldAt());
    // The partners and then all their rows: two statements, however many labs.
    QSqlQuery query(connection());
    query.setForwardOnly(true);
    if (const QString detail = boundstatement::run(
                query,
                QStringLiteral("SELECT %1 FROM exams WHERE exam_minutes = ? AND article_text = ? "
                               "AND COALESCE(opened_at, archived_at) >= ? AND "
                               "COALESCE(opened_at, archived_at) < ? "
                               "ORDER BY lab, id")
                        .arg(archivecolumns::examColumns()),
                { sitting.examMinutes, sitting.articleText, storedTime(halfDay.from),
                  storedTime(halfDay.until) });
        !detail.isEmpty())
        return { std::nullopt, failed(archivecolumns::cannotRead(), detail) };
    QVector<ArchivedExam> exams;
    while (query.next())
        exams.append(archivecolumns::examAt(query));
    if (!archivecolumns::readRowsOf(query, exams))
        return { std::nullopt, failed(archivecolumns::cannotRead(), query.lastError().text()) };
    return { exams, {} };
}
