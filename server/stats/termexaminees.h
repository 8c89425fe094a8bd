// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Each examinee's results across a run of exams (a term's, in their
// order), and what their speeds come to: best, mean and trend.
#include "archive/archivedexam.h"
#include "grading/gradingscale.h"

#include <QHash>
#include <QString>
#include <QVector>

#include <optional>
#include <utility>

// An examinee's results across the run's exams.
struct TermExaminee
{
    QString examNumber;
    QString name;
    QString department;
    QVector<std::optional<std::pair<double, QString>>> results;  // speed and grade per exam
    // Per exam without a result: 缺考 (listed, never logged in) or 未开始.
    QVector<QString> notSat;
};

// The speeds of the exams an examinee sat.
struct SpeedFigures
{
    double best = 0;
    double mean = 0;
    // The change in speed per exam: the slope of a least-squares line over
    // the exams sat; none under two.
    std::optional<double> trend;
};

// None when the examinee sat none of the exams.
std::optional<SpeedFigures> speedFiguresOf(const TermExaminee &examinee);

// The examinees of a run of exams gathered as rows are added, in the order
// they first appear: those graded, the absent and those who never started.
// An examinee twice in one exam keeps the faster result, as the ranking
// does.
class TermExaminees
{
public:
    explicit TermExaminees(int exams) : m_exams(exams) { }

    void add(int exam, const ArchivedRow &row, const GradingScale &scale);
    const QVector<TermExaminee> &examinees() const { return m_examinees; }

private:
    int m_exams;
    QVector<TermExaminee> m_examinees;
    QHash<QString, int> m_index;
};
