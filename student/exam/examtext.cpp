// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "exam/examtext.h"

#include "exchange/examdigest.h"
#include "exchange/gbk.h"
#include "exchange/recordlines.h"
#include "exchange/paths.h"

#include <QDir>
#include <QFile>

QString examTextFromBytes(QByteArrayView gbkBytes)
{
    // Articles saved on any system: CR LF, a lone LF and a lone CR all end
    // a line.
    return withCrLfLines(gbk::decode(gbkBytes));
}

std::optional<ExamText> readExamText(const QString &folder)
{
    const QString name = paths::examTextFileName();
    if (!paths::hasFileNamed(folder, name))
        return std::nullopt;
    QFile file(QDir(folder).filePath(name));
    const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    return ExamText { examTextFromBytes(bytes), examDigest(bytes) };
}
