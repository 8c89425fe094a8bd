// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The log category of the exam's course: its start and the hand-in.
#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcExam)
