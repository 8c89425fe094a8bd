// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "timeline/replayplayhead.h"

#include <algorithm>

void ReplayPlayhead::play()
{
    if (m_atMs >= m_endMs)
        m_atMs = 0;
    m_playing = true;
}

void ReplayPlayhead::seek(qint32 atMs)
{
    m_atMs = std::clamp(atMs, 0, m_endMs);
}

void ReplayPlayhead::advance(qint32 elapsedMs)
{
    if (!m_playing)
        return;
    seek(m_atMs + elapsedMs * m_factor);
    if (m_atMs == m_endMs)
        m_playing = false;
}
