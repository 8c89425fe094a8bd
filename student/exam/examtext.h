// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The exam text as the typing window compares against it.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

// The target text from the GBK bytes of te.txt: every line (ending at CR LF,
// a lone LF or a lone CR) followed by CR LF, the last line included.
QString examTextFromBytes(QByteArrayView gbkBytes);

struct ExamText
{
    QString text;
    QByteArray digest;  // examDigest of the file's bytes: which exam this is
};

// Reads te.txt from the folder; empty when no file of exactly that name is
// there. A file that exists but cannot be read counts as an empty text.
std::optional<ExamText> readExamText(const QString &folder);
