// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The console's controls as its views make them: named frames, labels and
// buttons placed in twips, the SimSun font, the red counters.
#include <QFont>
#include <QPalette>
#include <QRect>
#include <QString>

class QGroupBox;
class QLabel;
class QPushButton;
class QWidget;

namespace classic {

QFont simSun(qreal points);

QGroupBox *frame(QWidget *parent, const char *name, const QString &title = QString());
QLabel *label(QWidget *parent, const char *name, const QString &text, const QRect &geometry,
              const QFont &font);
QPushButton *button(QWidget *parent, const char *name, const QString &text, const QRect &geometry);
// Red figures on a background of the given system colour.
void paintCounter(QLabel *label, QPalette::ColorRole background);

}  // namespace classic
