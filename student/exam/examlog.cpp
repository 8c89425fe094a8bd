// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "exam/examlog.h"

// Debug messages stay off unless QT_LOGGING_RULES turns them on.
Q_LOGGING_CATEGORY(lcExam, "kestrix.student.exam", QtInfoMsg)
