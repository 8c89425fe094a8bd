// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/classiccontrols.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QCoreApplication>

namespace classic {

QFont simSun(qreal points)
{
    QFont font;
    font.setFamilies({ QStringLiteral("SimSun"), QStringLiteral("宋体") });
    font.setPointSizeF(points);
    return font;
}

QGroupBox *frame(QWidget *parent, const char *name, const QString &title)
{
    auto *box = new QGroupBox(title, parent);
    box->setObjectName(QLatin1String(name));
    return box;
}

QLabel *label(QWidget *parent, const char *name, const QString &text, const QRect &geometry,
              const QFont &font)
{
    auto *lbl = new QLabel(text, parent);
    lbl->setObjectName(QLatin1String(name));
    lbl->setGeometry(geometry);
    lbl->setFont(font);
    return lbl;
}

QPushButton *button(QWidget *parent, const char *name, const QString &text, const QRect &geometry)
{
    auto *btn = new QPushButton(text, parent);
    btn->setObjectName(QLatin1String(name));
    btn->setGeometry(geometry);
    return btn;
}

void paintCounter(QLabel *label, QPalette::ColorRole background)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, palette.color(background));
    palette.setColor(QPalette::WindowText, Qt::red);
    label->setPalette(palette);
    label->setAutoFillBackground(true);
}

}  // namespace classic
