// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The CPU time the benchmarks measure, in milliseconds, without the time
// other programs took the cores (the machine may be shared). Where there is
// no such clock the wall clock stands in: an upper bound.

// The calling thread's own work.
double threadCpuMillis();
// The whole process's.
double processCpuMillis();
