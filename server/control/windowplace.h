// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the examiner left the console's window: window.txt in the
// application folder beside time.txt, as record lines (left, top, width,
// height of the window's inside, maximised), and how that place comes back
// onto the screens there are at the next start.
#include <QRect>
#include <QString>
#include <QVector>

#include <optional>

namespace console {

struct WindowPlace
{
    QRect inside;  // the window without its frame, when not maximised
    bool maximised = false;
};

class WindowPlaceFile
{
public:
    static QString fileName() { return QStringLiteral("window.txt"); }

    explicit WindowPlaceFile(QString applicationFolder);

    // Empty when none was kept or the file does not read as a place: the
    // window then opens at its classic size, which needs no message.
    std::optional<WindowPlace> read() const;
    QString write(const WindowPlace &place) const;

private:
    QString m_path;
};

// The kept rectangle moved wholly onto the screen (available area) that
// holds most of it, or onto the first screen when none holds any of it (a
// second monitor since unplugged); no larger than that screen and no
// smaller than `minimum`. Unchanged when there are no screens.
QRect placeOnScreens(const QRect &kept, const QVector<QRect> &screens, const QSize &minimum);

}  // namespace console
