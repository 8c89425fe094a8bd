// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/examchartspane.h"

#include "report/examcharts.h"

#include <QChartView>
#include <QDir>
#include <QHBoxLayout>

namespace {

// The chosen name without its .png: each picture is named after it.
QString pictureBase(const QString &chosen)
{
    return chosen.endsWith(QLatin1String(".png"), Qt::CaseInsensitive)
            ? chosen.left(chosen.size() - 4)
            : chosen;
}

}  // namespace

ExamChartsPane::ExamChartsPane(QWidget *parent) : QWidget(parent)
{
    auto *chartLayout = new QHBoxLayout(this);
    m_histogram = new QChartView(this);
    m_histogram->setObjectName(QStringLiteral("ChartHistogram"));
    m_histogram->setRenderHint(QPainter::Antialiasing);
    m_scatter = new QChartView(this);
    m_scatter->setObjectName(QStringLiteral("ChartScatter"));
    m_scatter->setRenderHint(QPainter::Antialiasing);
    chartLayout->addWidget(m_histogram);
    chartLayout->addWidget(m_scatter);
}

void ExamChartsPane::showExam(const ArchivedExam *exam)
{
    // The views own their charts and delete the ones they showed before.
    if (!exam) {
        m_histogram->setChart(new QChart());
        m_scatter->setChart(new QChart());
        return;
    }
    m_histogram->setChart(examcharts::speedHistogram(exam->rows, exam->sitting.scale));
    m_scatter->setChart(examcharts::accuracyAgainstSpeed(exam->rows, exam->sitting.scale));
}

QStringList ExamChartsPane::picturePaths(const QString &chosen)
{
    const QString base = pictureBase(chosen);
    return { base + tr("-速度分布.png"), base + tr("-正确率与速度.png") };
}

QString ExamChartsPane::saveAs(const QString &chosen) const
{
    const QStringList paths = picturePaths(chosen);
    if (!m_histogram->grab().save(paths[0]) || !m_scatter->grab().save(paths[1]))
        return tr("无法保存图表 %1").arg(QDir::toNativeSeparators(pictureBase(chosen)));
    return {};
}
