// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "stats/termexaminees.h"

#include "collect/resultcore.h"

#include <algorithm>

std::optional<SpeedFigures> speedFiguresOf(const TermExaminee &examinee)
{
    // Each exam sat as a point: its place in the run, the speed.
    QVector<std::pair<int, double>> taken;
    SpeedFigures figures;
    double sum = 0;
    for (int e = 0; e < examinee.results.size(); ++e) {
        if (!examinee.results[e])
            continue;
        const double speed = examinee.results[e]->first;
        taken.append({ e, speed });
        figures.best = std::max(figures.best, speed);
        sum += speed;
    }
    if (taken.isEmpty())
        return std::nullopt;
    figures.mean = sum / taken.size();
    if (taken.size() < 2)
        return figures;
    double meanX = 0;
    double meanY = 0;
    for (const auto &[x, y] : taken) {
        meanX += x;
        meanY += y;
    }
    meanX /= taken.size();
    meanY /= taken.size();
    double covariance = 0;
    double variance = 0;
    for (const auto &[x, y] : taken) {
        covariance += (x - meanX) * (y - meanY);
        variance += (x - meanX) * (x - meanX);
    }
    figures.trend = covariance / variance;
    return figures;
}

void TermExaminees::add(int exam, const ArchivedRow &row, const GradingScale &scale)
{
    const auto grade = row.sat() ? scale.gradeOf(row) : std::nullopt;
    if (!grade && row.sat())
        return;
    const QString key = row.examNumber + u'\x1f' + row.name;
    auto found = m_index.constFind(key);
    if (found == m_index.constEnd()) {
        found = m_index.insert(key, int(m_examinees.size()));
        m_examinees.append({ row.examNumber, row.name, row.department, {}, {} });
    }
    TermExaminee &examinee = m_examinees[*found];
    examinee.results.resize(m_exams);
    examinee.notSat.resize(m_exams);
    // The list's 缺考 stands over a row under the name that is not theirs.
    if (!grade && examinee.notSat[exam] != keptStateText(ExamineeState::Absent))
        examinee.notSat[exam] =
                keptStateText(row.absent() ? ExamineeState::Absent : ExamineeState::Waiting);
    else if (grade && (!examinee.results[exam] || row.speed > examinee.results[exam]->first))
        examinee.results[exam] = std::make_pair(row.speed, scale.nameOf(grade));
}
