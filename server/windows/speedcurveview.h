// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The speed curve of a run: right characters per minute in 30-second steps
// over the whole exam, in 5-second steps when the examiner drags across a
// stretch of ten minutes or less to zoom in; the steps where wrong
// characters were typed marked red, the pauses shaded grey. 全程 shows the
// whole exam again.
#include "timeline/typingcurve.h"

#include <QWidget>

class QAreaSeries;
class QCategoryAxis;
class QChart;
class QChartView;
class QLabel;
class QLineSeries;
class QScatterSeries;
class QValueAxis;

class SpeedCurveView : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kWholeStepSeconds = 30;
    static constexpr int kZoomedStepSeconds = 5;
    // A stretch this short or shorter shows the finer steps.
    static constexpr int kZoomedMinutes = 10;

    SpeedCurveView(const TypingCurve &curve, qint32 pauseSeconds, QWidget *parent = nullptr);

    // The step the curve shows now, in seconds.
    int stepSeconds() const { return m_stepSeconds; }

protected:
    QChartView *chartView() const { return m_view; }

private:
    void showSteps(int stepSeconds);
    void followZoom(qreal fromMinute, qreal toMinute);
    void showWhole();

    TypingCurve m_curve;
    QVector<CurvePause> m_pauses;
    int m_stepSeconds = 0;
    QChartView *m_view = nullptr;
    QChart *m_chart = nullptr;
    QLineSeries *m_speed = nullptr;
    QScatterSeries *m_wrong = nullptr;
    QLineSeries *m_pauseTop = nullptr;
    QAreaSeries *m_pauseArea = nullptr;
    // Labelled tick by tick, so that a short stretch shows seconds.
    QCategoryAxis *m_minutes = nullptr;
    QValueAxis *m_perMinute = nullptr;
    QLabel *m_stepNote = nullptr;
};
