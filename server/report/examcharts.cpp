// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/examcharts.h"

#include "stats/examstatistics.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QLineSeries>
#include <QScatterSeries>
#include <QValueAxis>
#include <QCoreApplication>

namespace examcharts {

namespace {

constexpr int kTitlePoints = 18;
constexpr int kLabelPoints = 13;
constexpr int kLegendPoints = 10;

const QColor kGradeColours[] = { QColor(0x2E, 0x7D, 0x32), QColor(0x15, 0x65, 0xC0),
                                 QColor(0xEF, 0x8F, 0x00), QColor(0xC6, 0x28, 0x28),
                                 QColor(0x6A, 0x1B, 0x9A), QColor(0x45, 0x5A, 0x64) };

QColor gradeColour(int grade)
{
    return kGradeColours[grade % int(std::size(kGradeColours))];
}

QFont points(int size, bool bold = false)
{
    QFont font;
    font.setPointSize(size);
    font.setBold(bold);
    return font;
}

QChart *newChart(const QString &title)
{
    auto *chart = new QChart();
    chart->setTitle(title);
    chart->setTitleFont(points(kTitlePoints, true));
    chart->legend()->setFont(points(kLabelPoints));
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->setAnimationOptions(QChart::NoAnimation);
    return chart;
}

void style(QAbstractAxis *axis, const QString &title)
{
    axis->setTitleText(title);
    axis->setTitleFont(points(kLabelPoints, true));
    axis->setLabelsFont(points(kLabelPoints));
}

// Percent from `lowest` up to 100, ticked every `step`, with half a step of
// room above 100 so that a point at 100 % is drawn whole.
void percentAxis(QValueAxis *axis, double lowest, double step)
{
    axis->setRange(lowest, 100 + step / 2);
    axis->setTickType(QValueAxis::TicksDynamic);
    axis->setTickAnchor(lowest);
    axis->setTickInterval(step);
    axis->setLabelFormat(QStringLiteral("%d"));
    style(axis, QCoreApplication::translate("examcharts", "正确率（%）"));
}

// Speed from 0 to a whole bin above the fastest, ticked on whole bins (at
// most ten ticks), so that every label is a round number.
void setSpeedAxis(QValueAxis *axis, double fastest)
{
    const int bins = int(std::ceil(fastest / kBinWidth + 0.5));
    const int step = (bins + 9) / 10;
    axis->setRange(0, (bins + step - 1) / step * step * kBinWidth);
    axis->setTickType(QValueAxis::TicksDynamic);
    axis->setTickAnchor(0);
    axis->setTickInterval(step * kBinWidth);
    axis->setLabelFormat(QStringLiteral("%d"));
    style(axis, QCoreApplication::translate("examcharts", "速度（字/分钟）"));
}

}  // namespace

QChart *speedHistogram(const QVector<ArchivedRow> &rows, const GradingScale &scale)
{
    QChart *chart = newChart(QCoreApplication::translate("examcharts", "打字速度分布"));
    // Half a window wide: the legend's four names fit in a row below only
    // in smaller type and without blanks around the sign.
    chart->legend()->setFont(points(kLegendPoints));
    QVector<int> bins = speedHistogram(rows, kBinWidth);
    // Room for every threshold, even above the fastest typist.
    for (const Grade &grade : scale.grades())
        bins.resize(std::max<qsizetype>(bins.size(), qsizetype(grade.minSpeed / kBinWidth) + 1), 0);
    if (bins.isEmpty())
        bins.resize(1, 0);
    // At most ten labelled edges share the width, every `step` bins, the
    // edges between them marked by minor ticks; the last bins fill a step.
    const int step = int(bins.size() + 9) / 10;
    bins.resize((bins.size() + step - 1) / step * step, 0);
    auto *set = new QBarSet(QCoreApplication::translate("examcharts", "人数"));
    set->setColor(QColor(0x5C, 0x8D, 0xC9));
    int highest = 1;
    for (int i = 0; i < bins.size(); ++i) {
        *set << bins[i];
        highest = std::max(highest, bins[i]);
    }
    auto *bars = new QBarSeries();
    bars->setBarWidth(1);
    bars->append(set);
    chart->addSeries(bars);
    // The bars stand side by side on an axis of their own; the speed axis
    // below names their edges.
    auto *categoryAxis = new QBarCategoryAxis();
    categoryAxis->setVisible(false);
    chart->addAxis(categoryAxis, Qt::AlignBottom);
    bars->attachAxis(categoryAxis);
    auto *countAxis = new QValueAxis();
    countAxis->setRange(0, highest + 1);
    countAxis->setLabelFormat(QStringLiteral("%d"));
    countAxis->setTickCount(std::min(highest + 2, 11));
    // The legend names the bars: a rotated Chinese title would not read.
    countAxis->setLabelsFont(points(kLabelPoints));
    chart->addAxis(countAxis, Qt::AlignLeft);
    bars->attachAxis(countAxis);
    // Spanning the same width as the bars, with a tick at every bin's edge:
    // a grade line at 45 stands inside the bar from 40 to 50, one at 50 on
    // that bar's right edge, as the bins count (40 up to but not 50).
    auto *speedAxis = new QValueAxis();
    speedAxis->setRange(0, bins.size() * kBinWidth);
    speedAxis->setTickCount(int(bins.size()) / step + 1);
    speedAxis->setMinorTickCount(step - 1);
    speedAxis->setLabelFormat(QStringLiteral("%d"));
    style(speedAxis,
          QCoreApplication::translate("examcharts", "速度（字/分钟，每档%1）").arg(kBinWidth));
    chart->addAxis(speedAxis, Qt::AlignBottom);
    for (int i = 0; i < scale.grades().size(); ++i) {
        const Grade &grade = scale.grades()[i];
        if (grade.minSpeed <= 0)
            continue;
        auto *line = new QLineSeries();
        line->setName(QStringLiteral("%1≥%2").arg(grade.name).arg(grade.minSpeed));
        line->append(grade.minSpeed, 0);
        line->append(grade.minSpeed, highest + 1);
        QPen pen(gradeColour(i));
        pen.setWidth(3);
        pen.setStyle(Qt::DashLine);
        line->setPen(pen);
        chart->addSeries(line);
        line->attachAxis(speedAxis);
        line->attachAxis(countAxis);
    }
    return chart;
}

QChart *accuracyAgainstSpeed(const QVector<ArchivedRow> &rows, const GradingScale &scale)
{
    QChart *chart = newChart(QCoreApplication::translate("examcharts", "正确率与速度"));
    chart->legend()->setFont(points(kLegendPoints));
    QVector<QScatterSeries *> series;
    for (int i = 0; i < scale.grades().size(); ++i) {
        auto *points = new QScatterSeries();
        points->setName(scale.grades()[i].name);
        points->setColor(gradeColour(i));
        points->setMarkerSize(12);
        series.append(points);
    }
    double fastest = 10;
    double leastAccurate = 100;
    for (const ArchivedRow &row : rows) {
        const auto grade = scale.gradeOf(row);
        if (!grade)
            continue;
        series[*grade]->append(row.speed, row.accuracy());
        fastest = std::max(fastest, row.speed);
        leastAccurate = std::min(leastAccurate, row.accuracy());
    }
    auto *speedAxis = new QValueAxis();
    setSpeedAxis(speedAxis, fastest);
    // The class's accuracies spread over the height, not squeezed at its top.
    auto *accuracyAxis = new QValueAxis();
    const double lowest = std::max(0.0, std::floor(leastAccurate / 10 - 0.5) * 10);
    percentAxis(accuracyAxis, lowest, lowest >= 50 ? 5 : 10);
    chart->addAxis(speedAxis, Qt::AlignBottom);
    chart->addAxis(accuracyAxis, Qt::AlignLeft);
    for (QScatterSeries *points : series) {
        chart->addSeries(points);
        points->attachAxis(speedAxis);
        points->attachAxis(accuracyAxis);
    }
    return chart;
}

QChart *examineeTrend(const QVector<HistoryPoint> &points, const QString &who)
{
    QChart *chart = newChart(QCoreApplication::translate("examcharts", "%1的成绩变化").arg(who));
    auto *speed = new QLineSeries();
    speed->setName(QCoreApplication::translate("examcharts", "速度（字/分钟）"));
    speed->setPointsVisible(true);
    auto *accuracy = new QLineSeries();
    accuracy->setName(QCoreApplication::translate("examcharts", "正确率（%）"));
    accuracy->setPointsVisible(true);
    // One place per exam, in the order held, named by its date and time:
    // two exams of one day stand apart, and no date is repeated.
    auto *examAxis = new QCategoryAxis();
    examAxis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionCenter);
    examAxis->setStartValue(-0.5);
    double fastest = 10;
    for (int i = 0; i < points.size(); ++i) {
        const HistoryPoint &point = points[i];
        speed->append(i, point.speed);
        accuracy->append(i, point.accuracy);
        fastest = std::max(fastest, point.speed);
        // A category's label is its key: invisible spaces keep two exams
        // held the same minute apart.
        examAxis->append(point.when.toLocalTime().toString(QStringLiteral("MM-dd HH:mm"))
                                 + QString(i, QChar(0x200B)),
                         i + 0.5);
    }
    examAxis->setRange(-0.5, std::max<qsizetype>(points.size(), 1) - 0.5);
    QPen speedPen(QColor(0x15, 0x65, 0xC0));
    speedPen.setWidth(3);
    speed->setPen(speedPen);
    QPen accuracyPen(QColor(0x2E, 0x7D, 0x32));
    accuracyPen.setWidth(3);
    accuracy->setPen(accuracyPen);
    chart->addSeries(speed);
    chart->addSeries(accuracy);
    style(examAxis, QCoreApplication::translate("examcharts", "考试时间"));
    if (points.size() > 8)
        examAxis->setLabelsAngle(-60);
    auto *speedAxis = new QValueAxis();
    setSpeedAxis(speedAxis, fastest);
    auto *accuracyAxis = new QValueAxis();
    percentAxis(accuracyAxis, 0, 20);
    chart->addAxis(examAxis, Qt::AlignBottom);
    chart->addAxis(speedAxis, Qt::AlignLeft);
    chart->addAxis(accuracyAxis, Qt::AlignRight);
    speed->attachAxis(examAxis);
    speed->attachAxis(speedAxis);
    accuracy->attachAxis(examAxis);
    accuracy->attachAxis(accuracyAxis);
    return chart;
}

}  // namespace examcharts
