// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/statuspanel.h"

#include <QMouseEvent>

StatusPanel::StatusPanel(const QString &key, const QString &text, QWidget *parent)
    : QLabel(text, parent), m_key(key)
{
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Sunken);
}

void StatusPanel::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked(m_key);
    QLabel::mouseReleaseEvent(event);
}

QString statusDateTimeText(const QDateTime &when, const QLocale &locale)
{
    QString format = locale.dateTimeFormat(QLocale::ShortFormat);
    if (!format.contains(QLatin1Char('s')))
        format.replace(QLatin1String("mm"), QLatin1String("mm:ss"));
    return locale.toString(when, format);
}
