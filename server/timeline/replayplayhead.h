// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where a replay stands: the moment shown, playing or paused, and how many
// times faster than the exam it runs. The window's timer moves it on; the
// slider sets it anywhere.
#include <QtGlobal>

class ReplayPlayhead
{
public:
    explicit ReplayPlayhead(qint32 endMs = 0) : m_endMs(endMs) { }

    qint32 atMs() const { return m_atMs; }
    qint32 endMs() const { return m_endMs; }
    bool playing() const { return m_playing; }
    int speedFactor() const { return m_factor; }

    // Playing from the end starts again from the beginning.
    void play();
    void pause() { m_playing = false; }
    void setSpeedFactor(int factor) { m_factor = factor; }
    void seek(qint32 atMs);
    // `elapsedMs` of real time passed: the replay moves on that many times
    // its factor, and stops at the end.
    void advance(qint32 elapsedMs);

private:
    qint32 m_endMs = 0;
    qint32 m_atMs = 0;
    bool m_playing = false;
    int m_factor = 1;
};
