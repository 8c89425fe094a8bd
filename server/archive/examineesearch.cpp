// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/examineesearch.h"

#include "archive/archivedcolumns.h"
#include "archive/boundstatement.h"

#include <QHash>
#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>

using namespace archivecolumns;

ArchiveRead<QVector<ArchivedExam>> ExamineeSearch::history(const QString &examNumber,
                                                           const QString &name)
{
    if (!isOpen())
        return { std::nullopt, startProblem() };
    QSqlQuery query(connection());
    query.setForwardOnly(true);
    if (const QString detail = boundstatement::run(
                query,
                QStringLiteral("SELECT %1, %2, position FROM exam_rows "
                               "JOIN exams ON exams.id = exam_id "
                               "WHERE exam_number = ? AND name = ? ORDER BY id, position")
                        .arg(examColumns(), rowColumns()),
                { examNumber.trimmed(), name.trimmed() });
        !detail.isEmpty())
        return { std::nullopt, failed(cannotRead(), detail) };
    QVector<ArchivedExam> exams;
    // Where each row read lies: its exam's id and position, its place here.
    QHash<QPair<qint64, int>, QPair<int, int>> placeOf;
    const int positionColumn = kExamColumnCount + kRowColumnCount;
    while (query.next()) {
        if (exams.isEmpty() || exams.last().id != query.value(0).toLongLong())
            exams.append(examAt(query));
        exams.last().rows.append(rowAt(query, kExamColumnCount));
        placeOf.insert({ exams.last().id, query.value(positionColumn).toInt() },
                       { int(exams.size()) - 1, int(exams.last().rows.size()) - 1 });
    }
    if (const QString detail = boundstatement::run(
                query,
                QStringLiteral("SELECT d.exam_id, d.row_position, d.doubt FROM row_doubts AS d "
                               "JOIN exam_rows AS r ON r.exam_id = d.exam_id "
                               "AND r.position = d.row_position "
                               "WHERE r.exam_number = ? AND r.name = ? "
                               "ORDER BY d.exam_id, d.row_position, d.position"),
                { examNumber.trimmed(), name.trimmed() });
        !detail.isEmpty())
        return { std::nullopt, failed(cannotRead(), detail) };
    addDoubtsTo(query, [&](qint64 examId, int position) -> ArchivedRow * {
        const auto found = placeOf.constFind({ examId, position });
        return found == placeOf.constEnd() ? nullptr : &exams[found->first].rows[found->second];
    });
    // Oldest first; of two held at once, the one kept first.
    std::stable_sort(exams.begin(), exams.end(), [](const ArchivedExam &a, const ArchivedExam &b) {
        return a.sitting.heldAt() < b.sitting.heldAt();
    });
    return { exams, {} };
}

ArchiveRead<QVector<KnownExaminee>> ExamineeSearch::examinees()
{
    if (!isOpen())
        return { std::nullopt, startProblem() };
    QSqlQuery query(connection());
    query.setForwardOnly(true);
    // The department of the newest exam: the examinee may have changed class.
    // Each examinee's newest exam is found once, from the examinees' index,
    // not once for each of their rows.
    if (!query.exec(QStringLiteral(
                "SELECT r.exam_number, r.name, MAX(r.department) FROM exam_rows AS r "
                "JOIN (SELECT exam_number, name, MAX(exam_id) AS newest FROM exam_rows "
                "GROUP BY exam_number, name) AS n ON r.exam_number = n.exam_number "
                "AND r.name = n.name AND r.exam_id = n.newest "
                "GROUP BY r.exam_number, r.name ORDER BY r.exam_number, r.name")))
        return { std::nullopt, failed(cannotRead(), query.lastError().text()) };
    QVector<KnownExaminee> known;
    while (query.next())
        known.append({ query.value(0).toString(), query.value(1).toString(),
                       query.value(2).toString() });
    return { known, {} };
}
