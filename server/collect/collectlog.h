// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The log category of the results' collection and the retakes.
#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcCollect)
