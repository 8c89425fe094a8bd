// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/speedcurveview.h"

#include <QAreaSeries>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QScatterSeries>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace {

// A round top for the speed axis, above the highest step.
double axisTop(double highest)
{
    const double top = std::max(highest * 1.1, 10.0);
    const double unit = top > 200 ? 50 : 10;
    return std::ceil(top / unit) * unit;
}

}  // namespace

SpeedCurveView::SpeedCurveView(const TypingCurve &curve, qint32 pauseSeconds, QWidget *parent)
    : QWidget(parent), m_curve(curve), m_pauses(curve.pauses(pauseSeconds))
{
    setObjectName(QStringLiteral("SpeedCurveView"));
    m_chart = new QChart();
    m_chart->setAnimationOptions(QChart::NoAnimation);
    m_chart->legend()->setAlignment(Qt::AlignBottom);
    m_pauseTop = new QLineSeries(m_chart);
    m_pauseArea = new QAreaSeries(m_pauseTop);
    m_pauseArea->setName(tr("停顿（%1秒以上）").arg(pauseSeconds));
    m_pauseArea->setColor(QColor(0x90, 0x90, 0x90, 0x50));
    m_pauseArea->setBorderColor(Qt::transparent);
    m_speed = new QLineSeries(m_chart);
    m_speed->setName(tr("速度（打对的字/分钟）"));
    m_speed->setPen(QPen(QColor(0x15, 0x65, 0xC0), 2));
    m_wrong = new QScatterSeries(m_chart);
    m_wrong->setColor(QColor(0xC6, 0x28, 0x28));
    m_wrong->setBorderColor(QColor(0xC6, 0x28, 0x28));
    m_wrong->setMarkerSize(9);
    for (QAbstractSeries *series :
         { static_cast<QAbstractSeries *>(m_pauseArea), static_cast<QAbstractSeries *>(m_speed),
           static_cast<QAbstractSeries *>(m_wrong) })
        m_chart->addSeries(series);
    m_minutes = new QCategoryAxis(m_chart);
    m_minutes->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    m_perMinute = new QValueAxis(m_chart);
    m_perMinute->setTitleText(tr("字/分钟"));
    m_perMinute->setLabelFormat(QStringLiteral("%d"));
    m_chart->addAxis(m_minutes, Qt::AlignBottom);
    m_chart->addAxis(m_perMinute, Qt::AlignLeft);
    for (QAbstractSeries *series : m_chart->series()) {
        series->attachAxis(m_minutes);
        series->attachAxis(m_perMinute);
    }
    m_view = new QChartView(m_chart, this);
    m_view->setObjectName(QStringLiteral("ChartSpeedCurve"));
    m_view->setRenderHint(QPainter::Antialiasing);
    m_view->setRubberBand(QChartView::HorizontalRubberBand);
    m_stepNote = new QLabel(this);
    m_stepNote->setObjectName(QStringLiteral("LblCurveStep"));
    auto *whole = new QPushButton(tr("全程"), this);
    whole->setObjectName(QStringLiteral("CmdWholeCurve"));
    auto *bar = new QHBoxLayout;
    bar->addWidget(m_stepNote, 1);
    bar->addWidget(whole);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view, 1);
    layout->addLayout(bar);
    connect(whole, &QPushButton::clicked, this, &SpeedCurveView::showWhole);
    connect(m_minutes, &QValueAxis::rangeChanged, this, &SpeedCurveView::followZoom);
    showSteps(kWholeStepSeconds);
    showWhole();
}

void SpeedCurveView::showWhole()
{
    m_chart->zoomReset();
    m_minutes->setRange(0, m_curve.endMs() / 60000.0);
}

void SpeedCurveView::followZoom(qreal fromMinute, qreal toMinute)
{
    const CurveAxis axis = curveAxis(fromMinute, toMinute);
    m_minutes->setTitleText(axis.title);
    for (const QString &label : m_minutes->categoriesLabels())
        m_minutes->remove(label);
    m_minutes->setStartValue(fromMinute);
    for (const CurveTick &tick : axis.ticks)
        m_minutes->append(tick.label, tick.minute);
    const int step = toMinute - fromMinute <= kZoomedMinutes + 1e-9 && m_curve.endMs() > 0
                    && toMinute - fromMinute < m_curve.endMs() / 60000.0 - 1e-9
            ? kZoomedStepSeconds
            : kWholeStepSeconds;
    if (step != m_stepSeconds)
        showSteps(step);
}

void SpeedCurveView::showSteps(int stepSeconds)
{
    m_stepSeconds = stepSeconds;
    QList<QPointF> speeds;
    QList<QPointF> wrongs;
    int wrongCount = 0;
    double highest = 0;
    for (const CurveStep &step : m_curve.steps(stepSeconds)) {
        const double middle =
                (step.fromSecond
                 + std::min(stepSeconds, m_curve.endMs() / 1000 - step.fromSecond) / 2.0)
                / 60.0;
        speeds << QPointF(middle, step.charsPerMinute);
        if (step.wrong > 0)
            wrongs << QPointF(middle, step.charsPerMinute);
        wrongCount += step.wrong;
        highest = std::max(highest, step.charsPerMinute);
    }
    m_speed->replace(speeds);
    m_wrong->replace(wrongs);
    m_wrong->setName(tr("有错字的时段（共错%1字）").arg(wrongCount));
    m_perMinute->setRange(0, axisTop(highest));
    m_perMinute->applyNiceNumbers();
    // The shading reaches past any axis; the plot cuts it at the top.
    constexpr double top = 1e6;
    QList<QPointF> pauseOutline;
    for (const CurvePause &pause : std::as_const(m_pauses))
        pauseOutline << QPointF(pause.fromMs / 60000.0, 0) << QPointF(pause.fromMs / 60000.0, top)
                     << QPointF(pause.toMs / 60000.0, top) << QPointF(pause.toMs / 60000.0, 0);
    m_pauseTop->replace(pauseOutline);
    m_stepNote->setText(stepSeconds == kWholeStepSeconds ? tr(
                                "每30秒一点。在图上横向拖动可放大一段（10分钟以内每5秒一点）。")
                                                         : tr("每5秒一点。按“全程”看整场考试。"));
}
