// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Files people bring to the console (articles, class lists) come from many
// editors: older Notepad and WPS save GBK, newer Notepad, the web and Linux
// editors UTF-8. One rule tells them apart for every such file.
#include <QByteArrayView>
#include <QString>

#include <optional>

namespace textencoding {

// The text of `bytes`: UTF-8 when they begin with the UTF-8 byte order mark
// (which is dropped) or are strict UTF-8 throughout (no invalid, overlong or
// cut-off sequence); otherwise GBK. Empty when the bytes are neither: a
// file with a byte order mark that is not UTF-8 is refused, not read as GBK.
std::optional<QString> decodeUtf8OrGbk(QByteArrayView bytes);

}  // namespace textencoding
