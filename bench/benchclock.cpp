// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "benchclock.h"

#include <QElapsedTimer>
#include <QtGlobal>

#ifdef Q_OS_UNIX
#include <ctime>

namespace {

double cpuMillis(clockid_t which)
{
    timespec now {};
    clock_gettime(which, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

}  // namespace

double threadCpuMillis()
{
    return cpuMillis(CLOCK_THREAD_CPUTIME_ID);
}

double processCpuMillis()
{
    return cpuMillis(CLOCK_PROCESS_CPUTIME_ID);
}
#else
namespace {

double wallMillis()
{
    static QElapsedTimer clock = [] {
        QElapsedTimer started;
        started.start();
        return started;
    }();
    return clock.nsecsElapsed() / 1e6;
}

}  // namespace

double threadCpuMillis()
{
    return wallMillis();
}

double processCpuMillis()
{
    return wallMillis();
}
#endif
