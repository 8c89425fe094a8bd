// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An archive filled with a term of exams, the same every time: two
// classes, speeds and accuracies spread over every grade, one exam a day.
#include "archive/examarchive.h"

// The state a record of an exam words as `word` (缺考, 已交卷 ...); Absent for none.
inline ExamineeState keptStateNamed(const QString &word)
{
    for (const ExamineeState state : kExamineeStates) {
        if (keptStateText(state) == word)
            return state;
    }
    return ExamineeState::Absent;
}

inline ArchivedRow keptRow(int exam, int examinee)
{
    ArchivedRow row;
    row.department = examinee % 2 ? QStringLiteral("计算机1班") : QStringLiteral("计算机2班");
    row.examNumber = QStringLiteral("2026%1").arg(examinee, 3, 10, QLatin1Char('0'));
    row.name = QStringLiteral("考生%1").arg(examinee);
    // Each examinee gets a little faster over the term.
    row.speed = 15 + (examinee * 37 % 70) + exam * 0.5;
    row.accuracyLine = QString::number(75 + (examinee * 13 + exam) % 26);
    row.timePass = 600;
    row.recNo = examinee + 1;
    row.state = ExamineeState::Finished;
    return row;
}

// A class list of five kept with three handed in (two at the same speed),
// one still typing and one who never logged in; the standard scale grades
// them 优秀, 良好, 良好, 不及格 and nothing.
inline ArchivedExam classOfFive()
{
    ArchivedExam exam;
    exam.sitting.articleName = QStringLiteral("春晓");
    exam.sitting.openedAt = QDateTime(QDate(2026, 3, 2), QTime(8, 0), Qt::UTC);
    exam.sitting.examMinutes = 10;
    const struct
    {
        const char16_t *name;
        double speed;
        const char16_t *accuracy;
        qint16 timePass;
        const char16_t *state;
    } rows[] = { { u"甲", 60, u"98", 600, u"已交卷" },
                 { u"乙", 50, u"95", 600, u"已交卷" },
                 { u"丙", 50, u"90", 600, u"已交卷" },
                 { u"丁", 20, u"80", 300, u"答题中" },
                 { u"戊", 0, u"", 0, u"缺考" } };
    int number = 0;
    for (const auto &shown : rows) {
        ArchivedRow row;
        row.department = QStringLiteral("一班");
        row.examNumber = QStringLiteral("0%1").arg(++number);
        row.name = QString::fromUtf16(shown.name);
        row.speed = shown.speed;
        row.accuracyLine = QString::fromUtf16(shown.accuracy);
        row.timePass = shown.timePass;
        row.recNo = shown.timePass ? number : 0;
        row.state = keptStateNamed(QString::fromUtf16(shown.state));
        exam.rows.append(row);
        exam.sitting.roster += row.department + u'\t' + row.examNumber + u'\t' + row.name + u'\n';
    }
    return exam;
}

// Keeps `exams` exams of `examinees` examinees; the problem or empty.
inline QString fillArchive(ExamArchive &archive, int exams, int examinees)
{
    const QDateTime start(QDate(2026, 3, 2), QTime(8, 0), Qt::UTC);
    for (int exam = 0; exam < exams; ++exam) {
        ExamSitting sitting;
        sitting.key = QStringLiteral("term-%1").arg(exam);
        sitting.openedAt = start.addDays(exam);
        sitting.closedAt = sitting.openedAt.addSecs(900);
        sitting.articleName = QStringLiteral("第%1课").arg(exam + 1);
        sitting.articleText = QStringLiteral("春眠不觉晓，处处闻啼鸟。\r\n");
        sitting.examMinutes = 10;
        QVector<ArchivedRow> rows;
        for (int examinee = 0; examinee < examinees; ++examinee)
            rows.append(keptRow(exam, examinee));
        std::sort(rows.begin(), rows.end(),
                  [](const ArchivedRow &a, const ArchivedRow &b) { return a.speed > b.speed; });
        if (const QString problem = archive.keep(sitting, rows).problem; !problem.isEmpty())
            return problem;
    }
    return {};
}

// The exams of fillArchive read back, oldest first as the term report takes
// them; empty when they cannot be kept.
inline QVector<ArchivedExam> keptExams(ExamArchive &archive, int exams, int examinees)
{
    QVector<ArchivedExam> kept;
    if (!fillArchive(archive, exams, examinees).isEmpty())
        return kept;
    const QVector<ArchivedExam> listed = archive.exams().value.value_or(QVector<ArchivedExam>());
    for (const ArchivedExam &exam : listed)
        kept.prepend(*archive.exam(exam.id).value);
    return kept;
}

// One grade-wide exam: `labs` labs, each with its own class 高一(N)班 of
// `examinees` listed examinees (keptRow's figures, numbered across the
// grade), the same article and minutes, login opened at `openedAt` plus a
// quarter of an hour per lab; ranked, not yet kept.
inline QVector<ArchivedExam> gradeOfLabs(int labs, int examinees, const QDateTime &openedAt)
{
    QVector<ArchivedExam> grade;
    for (int lab = 0; lab < labs; ++lab) {
        ArchivedExam exam;
        exam.sitting.lab = QStringLiteral("机房%1").arg(lab + 1);
        exam.sitting.key = exam.sitting.lab + openedAt.toString(Qt::ISODate);
        exam.sitting.openedAt = openedAt.addSecs(900 * lab);
        exam.sitting.articleName = QStringLiteral("春晓");
        exam.sitting.articleText = QStringLiteral("春眠不觉晓，处处闻啼鸟。\r\n");
        exam.sitting.examMinutes = 10;
        for (int examinee = 0; examinee < examinees; ++examinee) {
            ArchivedRow row = keptRow(0, lab * examinees + examinee);
            row.department = QStringLiteral("高一(%1)班").arg(lab + 1);
            exam.rows.append(row);
            exam.sitting.roster +=
                    row.department + u'\t' + row.examNumber + u'\t' + row.name + u'\n';
        }
        std::sort(exam.rows.begin(), exam.rows.end(),
                  [](const ArchivedRow &a, const ArchivedRow &b) { return a.speed > b.speed; });
        grade.append(exam);
    }
    return grade;
}
