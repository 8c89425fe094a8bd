// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "archive/examlisting.h"

#include "archive/archivedcolumns.h"
#include "archive/boundstatement.h"

#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>

using namespace archivecolumns;

namespace {

// When an exam was held, as ExamSitting::heldAt() says; ISO times in UTC
// compare as their texts do.
QString heldAt()
{
    return QStringLiteral("COALESCE(opened_at, archived_at)");
}

// The local days a search names ("2026", "2026-03", "2026-3-2"), from the
// first day's midnight to the midnight after the last; none when it names no day.
std::optional<std::pair<QDateTime, QDateTime>> daysNamed(const QString &search)
{
    static const QRegularExpression day(
            QStringLiteral("^(\\d{4})(?:-(\\d{1,2})(?:-(\\d{1,2}))?)?$"));
    const QRegularExpressionMatch match = day.match(search);
    if (!match.hasMatch())
        return std::nullopt;
    const int year = match.captured(1).toInt();
    const bool hasMonth = match.hasCaptured(2);
    const bool hasDay = match.hasCaptured(3);
    const QDate first(year, hasMonth ? match.captured(2).toInt() : 1,
                      hasDay ? match.captured(3).toInt() : 1);
    if (!first.isValid())
        return std::nullopt;
    const QDate after = hasDay ? first.addDays(1)
            : hasMonth         ? first.addMonths(1)
                               : first.addYears(1);
    return std::make_pair(first.startOfDay(), after.startOfDay());
}

// A LIKE pattern that finds `text` anywhere, its own % and _ taken as they are.
QString containing(QString text)
{
    text.replace(u'\\', QStringLiteral("\\\\"));
    text.replace(u'%', QStringLiteral("\\%"));
    text.replace(u'_', QStringLiteral("\\_"));
    return u'%' + text + u'%';
}

// The conditions of a filter and their values, in order.
struct Conditions
{
    QStringList sql;
    QVariantList values;

    void add(const QString &condition, const QVariant &value)
    {
        sql.append(condition);
        values.append(value);
    }

    void addSpan(const QDateTime &start, const QDateTime &end)
    {
        add(QStringLiteral("%1 >= ?").arg(heldAt()), timeValue(start));
        add(QStringLiteral("%1 < ?").arg(heldAt()), timeValue(end));
    }
};

Conditions conditionsOf(const ExamFilter &filter)
{
    Conditions conditions;
    if (!filter.lab.isEmpty())
        conditions.add(QStringLiteral("lab = ?"), filter.lab);
    if (!filter.teacher.isEmpty())
        conditions.add(QStringLiteral("teacher = ?"), filter.teacher);
    if (!filter.department.isEmpty())
        conditions.add(QStringLiteral("EXISTS (SELECT 1 FROM exam_rows AS sat "
                                      "WHERE sat.exam_id = exams.id AND sat.department = ?)"),
                       filter.department);
    if (filter.term)
        conditions.addSpan(filter.term->start(), filter.term->end());
    const QString search = filter.search.trimmed();
    if (const auto days = daysNamed(search))
        conditions.addSpan(days->first, days->second);
    else if (!search.isEmpty())
        conditions.add(QStringLiteral("LOWER(article_name) LIKE LOWER(?) ESCAPE '\\'"),
                       containing(search));
    return conditions;
}

// The classes in order, one step along the department index for each
// (DISTINCT would read all rows of all exams): each step asks for the
// smallest one after the last found.
const QString kDepartments = QStringLiteral(
        "WITH RECURSIVE classes (department) AS ("
        "SELECT MIN(department) FROM exam_rows UNION ALL "
        "SELECT (SELECT MIN(department) FROM exam_rows WHERE department > classes.department) "
        "FROM classes WHERE classes.department IS NOT NULL) "
        "SELECT department FROM classes WHERE department IS NOT NULL");

}  // namespace

ArchiveRead<ListedExams> ExamListing::exams(const ExamFilter &filter)
{
    if (!isOpen())
        return { std::nullopt, startProblem() };
    const Conditions conditions = conditionsOf(filter);
    const QString where = conditions.sql.isEmpty()
            ? QString()
            : QStringLiteral(" WHERE ") + conditions.sql.join(QStringLiteral(" AND "));
    // The newest exams that match, one more than are listed to tell there are more.
    QSqlQuery query(connection());
    query.setForwardOnly(true);
    if (const QString detail = boundstatement::run(
                query,
                QStringLiteral("SELECT %1 FROM exams%2 ORDER BY %3 DESC, id DESC LIMIT %4")
                        .arg(examColumns(), where, heldAt())
                        .arg(kMostListed + 1),
                conditions.values);
        !detail.isEmpty())
        return { std::nullopt, failed(cannotRead(), detail) };
    ListedExams listed;
    while (query.next())
        listed.exams.append(examAt(query));
    if (listed.exams.size() > kMostListed) {
        listed.exams.removeLast();
        listed.more = true;
    }
    // Then their rows by the ids just read: joined to the exams, each row
    // would carry its exam's columns through a sort.
    if (!readRowsOf(query, listed.exams))
        return { std::nullopt, failed(cannotRead(), query.lastError().text()) };
    return { listed, {} };
}

ArchiveRead<ExamFilterChoices> ExamListing::choices()
{
    if (!isOpen())
        return { std::nullopt, startProblem() };
    QSqlQuery query(connection());
    query.setForwardOnly(true);
    const auto valuesOf = [&](const QString &statement, QStringList &values) {
        if (!query.exec(statement))
            return false;
        while (query.next()) {
            if (const QString value = query.value(0).toString(); !value.isEmpty())
                values.append(value);
        }
        return true;
    };
    ExamFilterChoices choices;
    bool ok = valuesOf(QStringLiteral("SELECT DISTINCT lab FROM exams ORDER BY lab"), choices.labs)
            && valuesOf(QStringLiteral("SELECT DISTINCT teacher FROM exams ORDER BY teacher"),
                        choices.teachers)
            && valuesOf(kDepartments, choices.departments);
    ok = ok && query.exec(QStringLiteral("SELECT MIN(%1), MAX(%1) FROM exams").arg(heldAt()));
    if (!ok)
        return { std::nullopt, failed(cannotRead(), query.lastError().text()) };
    // Every term from the newest exam's back to the oldest's.
    const QDate oldest = query.next() ? timeOf(query.value(0)).toLocalTime().date() : QDate();
    const QDate newest = query.isValid() ? timeOf(query.value(1)).toLocalTime().date() : QDate();
    if (oldest.isValid() && newest.isValid()) {
        const SchoolTerm first = SchoolTerm::of(oldest);
        for (SchoolTerm term = SchoolTerm::of(newest); term.firstDay() >= first.firstDay();
             term = term.previous())
            choices.terms.append(term);
    }
    return { choices, {} };
}

ArchiveRead<QStringList> ExamListing::classesIn(const SchoolTerm &term)
{
    if (!isOpen())
        return { std::nullopt, startProblem() };
    Conditions conditions;
    conditions.addSpan(term.start(), term.end());
    QSqlQuery query(connection());
    query.setForwardOnly(true);
    if (const QString detail = boundstatement::run(
                query,
                QStringLiteral("SELECT DISTINCT department FROM exam_rows WHERE exam_id IN "
                               "(SELECT id FROM exams WHERE %1) ORDER BY department")
                        .arg(conditions.sql.join(QStringLiteral(" AND "))),
                conditions.values);
        !detail.isEmpty())
        return { std::nullopt, failed(cannotRead(), detail) };
    QStringList classes;
    while (query.next()) {
        if (const QString name = query.value(0).toString(); !name.isEmpty())
            classes.append(name);
    }
    return { classes, {} };
}
