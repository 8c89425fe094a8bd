// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The replay of a run: the typed text growing as it was typed, each place
// coloured as the client coloured it, with 播放/暂停, 1×, 4× or 16× the
// exam's pace, and a slider to any moment.
#include "timeline/replayplayhead.h"
#include "timeline/typingreplay.h"

#include <QTimer>
#include <QWidget>

class QButtonGroup;
class QLabel;
class QPushButton;
class QSlider;
class QTextEdit;

class ReplayView : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kTickMillis = 100;

    // `compared`: the published text the colours come from; empty colours
    // every place right. `endMs`: how long the run lasted.
    ReplayView(const TypingReplay &replay, const QString &compared, qint32 endMs,
               QWidget *parent = nullptr);

protected:
    const ReplayPlayhead &playhead() const { return m_playhead; }
    QTimer &playTimer() { return m_playTimer; }

private:
    void playOrPause();
    void chooseSpeed(int factor);
    void seekTo(int tenths);
    void tick();
    // Shows the moment the playhead stands at.
    void showMoment();

    TypingReplay m_replay;
    QString m_compared;
    ReplayPlayhead m_playhead;
    QTimer m_playTimer;
    QString m_shownText;
    QTextEdit *m_text = nullptr;
    QPushButton *m_play = nullptr;
    QButtonGroup *m_speeds = nullptr;
    QSlider *m_slider = nullptr;
    QLabel *m_time = nullptr;
};
