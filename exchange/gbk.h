// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one place where text becomes bytes and bytes become text. Every file
// the programs write is GBK (code page 936).
#include <QByteArray>
#include <QString>

#include <optional>

namespace gbk {

// Why this system cannot convert GBK (in Chinese), empty when it can. A
// program checks it at start-up and refuses to run without a converter
// rather than writing empty or garbled files.
QString unavailableProblem();

// Characters that GBK lacks become "?".
QByteArray encode(QStringView text);
// Bytes that are not valid GBK decode to a replacement character; decoding
// never fails.
QString decode(QByteArrayView bytes);
// The text when every byte is valid GBK, a lead byte cut off at the end
// included; empty otherwise.
std::optional<QString> decodeStrict(QByteArrayView bytes);
// 2 for a character that GBK stores in two bytes (Chinese characters,
// full-width signs), 1 otherwise.
int byteWidth(QChar ch);

// Whether GBK stores the character and gives it back unchanged. Never for a
// surrogate: characters beyond the first 65,536 (emoji, rare ideographs)
// have no GBK form.
bool canStore(QChar ch);

// A text parted into what GBK stores and what it cannot, each in its order.
// A surrogate pair is refused whole, so that `refused` shows the character.
struct Parted
{
    QString kept;
    QString refused;
};
Parted partStorable(QStringView text);

}  // namespace gbk
