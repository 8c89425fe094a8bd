// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How the answer sheet and its replay colour a place: right blue, wrong red,
// not typed grey and underlined, as the client colours them.
#include "class/answersheetpage.h"

#include <QTextCharFormat>

QTextCharFormat markFormat(AnswerSheetPage::Mark mark);
