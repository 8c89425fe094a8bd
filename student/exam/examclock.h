// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The exam clock and the blinking prompt, driven by ticks from outside: the
// window connects its timers, tests call tick() directly.
#include <QObject>
#include <QString>

class ExamClock : public QObject
{
    Q_OBJECT
public:
    enum class State { Waiting, Running, TimeUp };

    explicit ExamClock(int examMinutes, QObject *parent = nullptr);

    // An exam of 0 minutes would never reach its end, one above 546 minutes
    // is beyond the clock's range; neither can be started.
    static bool canRun(int examMinutes);
    bool canRun() const { return canRun(m_examMinutes); }

    State state() const { return m_state; }
    int examMinutes() const { return m_examMinutes; }
    int timePass() const { return m_timePass; }
    int remainSecs() const { return m_remainSecs; }
    int secondHand() const { return m_secondHand; }
    // "05 : 00", "120 : 00", "00 : 00"
    QString timeText() const { return m_timeText; }

    // Waiting -> Running. Returns false (and changes nothing) when the clock
    // is not waiting or the exam time cannot run.
    bool start();
    // A resumed exam: the clock waits with this much time already used;
    // at or past the exam time it stands at 00 : 00, its time up. Only a
    // waiting clock of a runnable exam takes it, and no time below 0.
    bool resumeAt(int timePass);

    // One second of a running clock; does nothing in the other states.
    void tick();

signals:
    // The clock left Waiting and runs.
    void started();
    void timeTextChanged(const QString &text);
    // Every second of a running clock but the last, with the seconds
    // passed so far.
    void secondPassed(int timePass);
    // Every fifth second after the start.
    void progressDue();
    // The clock reached 00 : 00 and has stopped.
    void timeUp();

private:
    static QString twoDigits(int value);

    int m_examMinutes = 0;
    State m_state = State::Waiting;
    int m_timePass = 0;
    int m_remainSecs = 0;
    int m_secondHand = 60;
    int m_progressTicks = 0;
    QString m_timeText;
};

// The prompt of the waiting window: shown on ticks 1 to 5 of every six,
// blank on the sixth.
class PromptBlinker
{
public:
    // Returns whether the prompt shows after this tick.
    bool tick();

private:
    int m_ticks = 0;
};
