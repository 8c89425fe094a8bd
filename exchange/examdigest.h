// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What names an exam text in both programs: the console keeps it with the
// exam it published, the client writes it into every answer sheet.
#include <QByteArray>
#include <QByteArrayView>

// SHA-1 of te.txt's bytes as published, in lower-case hex.
QByteArray examDigest(QByteArrayView textBytes);
