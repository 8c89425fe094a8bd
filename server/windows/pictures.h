// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The console's pictures, kept as image files in the program's resources:
// the toolbar images and the product picture of the About box.
#include <QIcon>
#include <QPixmap>
#include <QString>

namespace pictures {

// A 32 x 32 toolbar image: help, set, clearlast, begin, fresh, stop, roster.
QIcon toolbarImage(const QString &name);
QPixmap productPicture();

}  // namespace pictures
