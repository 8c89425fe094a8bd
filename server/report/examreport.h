// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The class report of one exam as PDF: title, statistics, the speed
// histogram and the ranking with grades, on A4 with the Chinese font
// embedded. Written whole or not at all.
#include "archive/archivedexam.h"

namespace examreport {

// The problem naming the file, or empty.
QString writePdf(const ArchivedExam &exam, const QString &path);

}  // namespace examreport
