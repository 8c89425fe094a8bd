// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Controls found by their object names, as every window test finds them.
#include <QObject>
#include <QtGlobal>

// The child of `parent` named `objectName`; the test ends when it is missing.
template <typename T>
T *childOf(const QObject *parent, const char *objectName)
{
    T *found = parent->findChild<T *>(QLatin1String(objectName));
    if (!found)
        qFatal("no control %s", objectName);
    return found;
}
