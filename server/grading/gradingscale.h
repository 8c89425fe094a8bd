// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The grading scale (评分标准): an ordered list of grades, each with a
// minimum speed, a minimum accuracy and a score. A result's grade is the
// first whose minimums it meets; the last grade is the failing one.
#include "collect/resultcore.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

struct Grade
{
    QString name;
    double minSpeed = 0;  // 字/分钟
    double minAccuracy = 0;  // %
    double score = 0;

    friend bool operator==(const Grade &a, const Grade &b)
    {
        return a.name == b.name && a.minSpeed == b.minSpeed && a.minAccuracy == b.minAccuracy
                && a.score == b.score;
    }
};

class GradingScale
{
    Q_DECLARE_TR_FUNCTIONS(GradingScale)
public:
    static constexpr int kMaxGrades = 20;

    // 优秀 / 良好 / 及格 / 不及格.
    static GradingScale standard();

    struct Reading;
    // The scale as typed in a table, one row of four texts per grade: the
    // name, minimum speed, minimum accuracy and score; checked.
    static Reading fromTable(const QVector<QStringList> &table);
    QVector<QStringList> table() const;
    // One grade per line, its four fields tab-separated, as the archive keeps it.
    static Reading fromText(const QString &text);
    QString toText() const;

    // The scale kept in the console's preferences; the standard one when none is.
    static Reading load(const QString &applicationFolder);
    QString save(const QString &applicationFolder) const;

    const QVector<Grade> &grades() const { return m_grades; }
    // The index of the result's grade; empty when it meets none.
    std::optional<int> gradeOf(double speed, double accuracy) const;
    // A result's grade from its accuracy line as written; none before the
    // examinee started (a time of 0).
    std::optional<int> gradeOf(const ResultCore &result) const;
    // Whether a grade passes: every grade but the last does.
    bool passes(std::optional<int> grade) const;
    // The grade's name and score as shown, "" for none.
    QString nameOf(std::optional<int> grade) const;
    std::optional<double> scoreOf(std::optional<int> grade) const;

    friend bool operator==(const GradingScale &a, const GradingScale &b)
    {
        return a.m_grades == b.m_grades;
    }

private:
    static QString problemOf(const QVector<Grade> &grades);

    QVector<Grade> m_grades;
};

struct GradingScale::Reading
{
    std::optional<GradingScale> scale;
    QString problem;  // the reason, naming the row; empty when read
};
