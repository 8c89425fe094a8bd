// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The console's main window with its controller within reach, for the
// tests and benchmarks that drive the examiner's window.
#include "server/windows/frmmain.h"

class WatchedConsole : public console::FrmMain
{
public:
    using FrmMain::controller;
    using FrmMain::FrmMain;
};
