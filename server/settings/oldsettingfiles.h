// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The small files earlier versions kept the console's preferences in, read
// as they wrote them, so that the settings store can take them over once.
#include "settings/consolepreferences.h"

#include <QMap>
#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

namespace oldsettings {

// The files whose problems the examiner was told of, and still is.
inline QString exchangeFileName()
{
    return QStringLiteral("exchange.txt");
}
inline QString judgingFileName()
{
    return QStringLiteral("judging.txt");
}
inline QString gradingFileName()
{
    return QStringLiteral("pf.txt");
}

struct Found
{
    QStringList files;  // the names read, to be removed once their values are kept
    // By file name, the files that cannot be read; they stay where they are.
    QMap<QString, QString> problems;
    std::optional<console::WindowPlace> window;
    std::optional<QString> rosterFolder;
    std::optional<console::SchoolSetting> school;
    std::optional<QString> exchangeFolder;
    std::optional<bool> loginCodesRequired;
    std::optional<QString> articleName;
    std::optional<QMap<QString, QString>> judgingTexts;
    std::optional<QVector<QStringList>> gradeRows;
};

// What the old files in `dataFolder` hold. A file whose content an earlier
// version ignored (a window place that does not read) is listed with no
// value; one that cannot be read stays, with its problem.
Found read(const QString &dataFolder);

}  // namespace oldsettings
