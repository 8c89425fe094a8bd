// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// 重考 for the tests: the examiner's yes to the retake of the row's
// examinee, and what the console tells once it is done and shown, waited
// for as collectByHand waits.
#include "collectbyhand.h"

inline QString retakeExaminee(console::ConsoleController &controller, const ClassViewRow &row)
{
    return toldOnceCollected(
            controller, &console::ConsoleController::retakeDone,
            [&controller, &row] { controller.allowRetake(row); }, QStringLiteral("重考"));
}
