// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/examdigest.h"

#include <QCryptographicHash>

QByteArray examDigest(QByteArrayView textBytes)
{
    return QCryptographicHash::hash(textBytes, QCryptographicHash::Sha1).toHex();
}
