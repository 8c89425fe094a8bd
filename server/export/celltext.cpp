// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/celltext.h"

#include <QCoreApplication>

namespace celltext {

namespace {

// C0 controls but the line breaks and tabs a cell keeps, and the bidi
// embeddings, overrides, isolates and marks.
bool isReplaced(QChar ch)
{
    const char16_t code = ch.unicode();
    if (code < 0x20)
        return code != u'\t' && code != u'\n' && code != u'\r';
    return code == 0x200E || code == 0x200F || (code >= 0x202A && code <= 0x202E)
            || (code >= 0x2066 && code <= 0x2069);
}

}  // namespace

Fitted fitted(const QString &text)
{
    Fitted out { text, {} };
    bool replaced = false;
    for (QChar &ch : out.text) {
        if (isReplaced(ch)) {
            ch = QChar::ReplacementCharacter;
            replaced = true;
        }
    }
    if (replaced)
        out.why = QCoreApplication::translate("celltext", "控制字符已替换为“\uFFFD”");
    if (out.text.size() > kMaxCellChars) {
        qsizetype keep = kMaxCellChars;
        if (out.text.at(keep - 1).isHighSurrogate())
            --keep;
        const qsizetype total = out.text.size();
        out.text.truncate(keep);
        if (!out.why.isEmpty())
            out.why += QCoreApplication::translate("celltext", "，");
        out.why +=
                QCoreApplication::translate("celltext", "%1个字符截短为%2个").arg(total).arg(keep);
    }
    return out;
}

int displayWidth(const QString &text)
{
    int width = 0;
    for (QChar ch : text) {
        if (ch.isLowSurrogate())
            continue;
        const char16_t code = ch.unicode();
        width += (code >= 0x1100 && code <= 0x115F) || code >= 0x2E80 || ch.isHighSurrogate() ? 2
                                                                                              : 1;
    }
    return width;
}

QString changesNote(const QStringList &changed, const QString &source)
{
    if (changed.isEmpty())
        return {};
    // A long list would not fit on the screen; the first ones tell the story.
    constexpr int kListed = 10;
    QString text = QCoreApplication::translate("celltext", "\n有%1个单元格与%2中的内容不同：")
                           .arg(changed.size())
                           .arg(source);
    for (const QString &cell : changed.mid(0, kListed))
        text += QLatin1Char('\n') + cell;
    if (changed.size() > kListed)
        text += QStringLiteral("\n……");
    return text;
}

}  // namespace celltext
