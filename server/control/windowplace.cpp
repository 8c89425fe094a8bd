// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/windowplace.h"

#include "exchange/recordlines.h"
#include "exchange/wholefile.h"

#include <QDir>

#include <algorithm>

namespace console {

namespace {

// Five short lines; anything larger is not a window place.
constexpr qint64 kMaxFileBytes = 256;

qint64 overlap(const QRect &a, const QRect &b)
{
    const QRect common = a.intersected(b);
    return common.isEmpty() ? 0 : qint64(common.width()) * common.height();
}

}  // namespace

WindowPlaceFile::WindowPlaceFile(QString applicationFolder)
    : m_path(QDir(applicationFolder).filePath(fileName()))
{
}

std::optional<WindowPlace> WindowPlaceFile::read() const
{
    const wholefile::Reading reading = wholefile::read(m_path, kMaxFileBytes);
    if (!reading.bytes)
        return std::nullopt;
    const RecordReader record(*reading.bytes);
    const auto left = record.int32(0);
    const auto top = record.int32(1);
    const auto width = record.int32(2);
    const auto height = record.int32(3);
    const auto maximised = record.boolean(4);
    if (!left || !top || !width || !height || !maximised || *width <= 0 || *height <= 0)
        return std::nullopt;
    return WindowPlace { QRect(*left, *top, *width, *height), *maximised };
}

QString WindowPlaceFile::write(const WindowPlace &place) const
{
    return wholefile::write(m_path,
                            RecordWriter()
                                    .integer(place.inside.left())
                                    .integer(place.inside.top())
                                    .integer(place.inside.width())
                                    .integer(place.inside.height())
                                    .boolean(place.maximised)
                                    .bytes());
}

QRect placeOnScreens(const QRect &kept, const QVector<QRect> &screens, const QSize &minimum)
{
    if (screens.isEmpty())
        return kept;
    const QRect screen = *std::max_element(
            screens.cbegin(), screens.cend(),
            [&](const QRect &a, const QRect &b) { return overlap(a, kept) < overlap(b, kept); });
    const QSize size = kept.size().boundedTo(screen.size()).expandedTo(minimum);
    // A window larger than its screen keeps its top left corner on it.
    const int left =
            std::max(screen.left(), std::min(kept.left(), screen.right() + 1 - size.width()));
    const int top =
            std::max(screen.top(), std::min(kept.top(), screen.bottom() + 1 - size.height()));
    return QRect(QPoint(left, top), size);
}

}  // namespace console
