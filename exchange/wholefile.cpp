// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/wholefile.h"

#include "exchange/programlog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QCoreApplication>

namespace wholefile {

namespace {

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

QString writeOnce(const QString &path, QByteArrayView bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QCoreApplication::translate("wholefile", "无法写入 %1：%2")
                .arg(shown(path), file.errorString());
    // QSaveFile buffers: a write that ran out of space shows only in the
    // flush, and commit() may still report success over a short file.
    if (file.write(bytes.data(), bytes.size()) != bytes.size() || !file.flush()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return QCoreApplication::translate("wholefile", "无法写入 %1：%2").arg(shown(path), reason);
    }
    if (!file.commit())
        return QCoreApplication::translate("wholefile", "无法写入 %1：%2")
                .arg(shown(path), file.errorString());
    if (QFileInfo(path).size() != bytes.size())
        return QCoreApplication::translate("wholefile", "无法写入 %1：磁盘空间不足或写入不完整")
                .arg(shown(path));
    return {};
}

}  // namespace

QString write(const QString &path, QByteArrayView bytes)
{
    const QString problem = writeOnce(path, bytes);
    if (!problem.isEmpty())
        qCWarning(lcExchange).noquote() << problem;
    return problem;
}

Reading read(const QString &path, qint64 maxBytes)
{
    Reading reading;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        reading.problem = QCoreApplication::translate("wholefile", "无法读取 %1：%2")
                                  .arg(shown(path), file.errorString());
        return reading;
    }
    // Read one byte past the bound to tell "exactly the bound" from "more".
    QByteArray bytes = file.read(maxBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        reading.problem = QCoreApplication::translate("wholefile", "无法读取 %1：%2")
                                  .arg(shown(path), file.errorString());
        return reading;
    }
    if (bytes.size() > maxBytes) {
        reading.problem = QCoreApplication::translate("wholefile", "%1 太大（超过 %2 字节）")
                                  .arg(shown(path))
                                  .arg(maxBytes);
        return reading;
    }
    reading.bytes = std::move(bytes);
    return reading;
}

}  // namespace wholefile
