// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/oldsettingfiles.h"

#include "exchange/gbk.h"
#include "exchange/recordlines.h"
#include "exchange/textencoding.h"
#include "exchange/wholefile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

namespace oldsettings {

namespace {

// Each file held a line or a few; anything far larger is something else.
constexpr qint64 kMaxLineFileBytes = 4096;
constexpr qint64 kMaxJudgingBytes = 16 * 1024;
constexpr qint64 kMaxGradingBytes = 64 * 1024;

// The file's bytes when it is there; none when it is not or cannot be read.
std::optional<QByteArray> bytesOf(const QDir &folder, const QString &name, qint64 maxBytes,
                                  Found &found)
{
    const QString path = folder.filePath(name);
    if (!QFileInfo::exists(path))
        return std::nullopt;
    wholefile::Reading reading = wholefile::read(path, maxBytes);
    if (!reading.bytes) {
        found.problems.insert(name, reading.problem);
        return std::nullopt;
    }
    found.files << name;
    return reading.bytes;
}

std::optional<console::WindowPlace> windowPlaceOf(const QByteArray &bytes)
{
    const RecordReader record(bytes);
    const auto left = record.int32(0);
    const auto top = record.int32(1);
    const auto width = record.int32(2);
    const auto height = record.int32(3);
    const auto maximised = record.boolean(4);
    if (!left || !top || !width || !height || !maximised || *width <= 0 || *height <= 0)
        return std::nullopt;
    return console::WindowPlace { QRect(*left, *top, *width, *height), *maximised };
}

// exchange.txt was written in GBK by the console, or in UTF-8 by an editor;
// a folder the examiner chose must not silently turn into the default one.
void readExchangeFolder(const QDir &folder, Found &found)
{
    const QString name = exchangeFileName();
    const QString path = folder.filePath(name);
    if (!QFileInfo::exists(path))
        return;
    const QString shown = QDir::toNativeSeparators(path);
    const wholefile::Reading reading = wholefile::read(path, kMaxLineFileBytes);
    if (!reading.bytes) {
        found.problems.insert(name,
                              QFileInfo(path).size() > kMaxLineFileBytes
                                      ? QCoreApplication::translate(
                                                "OldSettingFiles",
                                                "%1 有%2字节，不是交换文件夹的名称（应只有一行）")
                                                .arg(shown)
                                                .arg(QFileInfo(path).size())
                                      : reading.problem);
        return;
    }
    const std::optional<QString> text = textencoding::decodeUtf8OrGbk(*reading.bytes);
    if (!text) {
        found.problems.insert(
                name,
                QCoreApplication::translate("OldSettingFiles",
                                            "%1 既不是UTF-8也不是GBK文本，读不出交换文件夹的名称")
                        .arg(shown));
        return;
    }
    // Any line break ends the line: an editor may save LF alone.
    const QString line =
            text->section(QRegularExpression(QStringLiteral("[\r\n]")), 0, 0).trimmed();
    if (std::any_of(line.begin(), line.end(),
                    [](QChar ch) { return ch.category() == QChar::Other_Control; })) {
        found.problems.insert(
                name,
                QCoreApplication::translate("OldSettingFiles", "%1 中的交换文件夹名称含有控制字符")
                        .arg(shown));
        return;
    }
    found.files << name;
    found.exchangeFolder = QDir::fromNativeSeparators(line);
}

}  // namespace

Found read(const QString &dataFolder)
{
    const QDir folder(dataFolder);
    Found found;
    if (const auto bytes = bytesOf(folder, QStringLiteral("window.txt"), 256, found))
        found.window = windowPlaceOf(*bytes);
    if (const auto bytes =
                bytesOf(folder, QStringLiteral("rosterfolder.txt"), kMaxLineFileBytes, found))
        found.rosterFolder = QString::fromUtf8(*bytes).trimmed();
    if (const auto bytes =
                bytesOf(folder, QStringLiteral("archive.txt"), kMaxLineFileBytes, found)) {
        const QStringList lines = gbk::decode(*bytes).split(QStringLiteral("\r\n"));
        found.school = console::SchoolSetting { lines.value(0).trimmed(), lines.value(1).trimmed(),
                                                lines.value(2).trimmed() };
    }
    readExchangeFolder(folder, found);
    if (const auto bytes = bytesOf(folder, QStringLiteral("logincodes.txt"), 16, found))
        found.loginCodesRequired = bytes->trimmed() == "1";
    if (const auto bytes = bytesOf(folder, QStringLiteral("testname.txt"), 1024, found))
        found.articleName = gbk::decode(*bytes).section(QLatin1Char('\n'), 0, 0).trimmed();
    if (const auto bytes = bytesOf(folder, judgingFileName(), kMaxJudgingBytes, found)) {
        QMap<QString, QString> texts;
        for (const QString &line : gbk::decode(*bytes).split(u'\n', Qt::SkipEmptyParts)) {
            if (const QString name = line.section(u'=', 0, 0).trimmed(); !name.isEmpty())
                texts.insert(name, line.section(u'=', 1).trimmed());
        }
        found.judgingTexts = texts;
    }
    if (const auto bytes = bytesOf(folder, gradingFileName(), kMaxGradingBytes, found)) {
        QVector<QStringList> rows;
        for (const QString &line : QString::fromUtf8(*bytes).split(u'\n', Qt::SkipEmptyParts)) {
            if (!line.trimmed().isEmpty())
                rows.append(line.split(u'\t'));
        }
        found.gradeRows = rows;
    }
    return found;
}

}  // namespace oldsettings
