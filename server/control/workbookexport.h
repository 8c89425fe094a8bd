// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What exporting results to a workbook came to.
#include <QString>

namespace console {

struct WorkbookExport
{
    QString problem;  // why there is no workbook; empty when written
    QString workbook;  // the workbook's path
    QString message;  // where it is and which cells it had to change
};

}  // namespace console
