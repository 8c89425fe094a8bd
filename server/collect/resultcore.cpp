// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "collect/resultcore.h"

#include "numbers.h"

double ResultCore::accuracy() const
{
    return numbers::parseNumber(accuracyLine).value_or(0);
}
