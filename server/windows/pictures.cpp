// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/pictures.h"

// The resources are compiled into this static library; a program linking
// it keeps them only when something names them, which this does.
static void initPictures()
{
    Q_INIT_RESOURCE(pictures);
}

namespace pictures {

namespace {

QString resourcePath(const QString &name)
{
    static const bool ready = [] {
        initPictures();
        return true;
    }();
    Q_UNUSED(ready);
    return QStringLiteral(":/console/pictures/%1.png").arg(name);
}

}  // namespace

QIcon toolbarImage(const QString &name)
{
    return QIcon(resourcePath(name));
}

QPixmap productPicture()
{
    return QPixmap(resourcePath(QStringLiteral("product")));
}

}  // namespace pictures
