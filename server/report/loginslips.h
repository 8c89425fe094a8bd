// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The login codes of an exam as slips to cut apart and hand out: each
// examinee's name, department, exam number and code, in two columns of
// five on A4, dashed lines to cut along. Written whole or not at all.
#include "publish/logincodes.h"

#include <QDateTime>
#include <QString>

namespace loginslips {

constexpr int kColumns = 2;
constexpr int kRows = 5;

// "登录码-20260302-春晓.pdf": the name offered for the slips of an exam.
QString defaultFileName(const QDateTime &openedAt, const QString &articleName);

// The problem naming the file, or empty; a class without codes has no
// slips. Each slip and the document's title name the exam
// (documentname::caption).
QString writePdf(const LoginCodes &codes, const QString &exam, const QString &path);

}  // namespace loginslips
