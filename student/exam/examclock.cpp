// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "exam/examclock.h"

#include <algorithm>

#include "exchange/examlimits.h"

ExamClock::ExamClock(int examMinutes, QObject *parent)
    : QObject(parent), m_examMinutes(examMinutes), m_remainSecs(examMinutes * 60)
{
    const int minutes = m_remainSecs / 60;
    m_timeText = twoDigits(minutes) + QLatin1String(" : ") + QLatin1String("00");
}

bool ExamClock::canRun(int examMinutes)
{
    return examMinutes >= examlimits::kShortestExamMinutes
            && examMinutes <= examlimits::kLongestExamMinutes;
}

bool ExamClock::start()
{
    if (m_state != State::Waiting || !canRun())
        return false;
    m_state = State::Running;
    emit started();
    return true;
}

bool ExamClock::resumeAt(int timePass)
{
    if (m_state != State::Waiting || !canRun() || timePass < 0)
        return false;
    // As if the clock had ticked timePass times; at or past the exam time
    // it has stopped at 00 : 00, and the exam is over.
    const int examSeconds = m_examMinutes * 60;
    m_timePass = std::min(timePass, examSeconds);
    m_remainSecs = examSeconds - m_timePass;
    m_progressTicks = m_timePass % 5;
    m_secondHand = 60 - m_timePass % 60;
    m_timeText = twoDigits(m_remainSecs / 60) + QLatin1String(" : ") + twoDigits(m_remainSecs % 60);
    if (m_remainSecs == 0)
        m_state = State::TimeUp;
    emit timeTextChanged(m_timeText);
    return true;
}

void ExamClock::tick()
{
    if (m_state != State::Running)
        return;
    ++m_timePass;
    if (++m_progressTicks == 5) {
        m_progressTicks = 0;
        emit progressDue();
    }
    --m_remainSecs;
    int seconds = --m_secondHand;
    if (m_secondHand == 0) {
        m_secondHand = 60;
        seconds = 0;
    }
    const int minutes = m_remainSecs / 60;
    m_timeText = twoDigits(minutes) + QLatin1String(" : ") + twoDigits(seconds);
    if (minutes == 0 && seconds == 0) {
        m_state = State::TimeUp;
        emit timeTextChanged(m_timeText);
        emit timeUp();
        return;
    }
    emit timeTextChanged(m_timeText);
    emit secondPassed(m_timePass);
}

QString ExamClock::twoDigits(int value)
{
    return value >= 0 && value < 10 ? QLatin1Char('0') + QString::number(value)
                                    : QString::number(value);
}

bool PromptBlinker::tick()
{
    if (++m_ticks == 6) {
        m_ticks = 0;
        return false;
    }
    return true;
}
