// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The console's own preferences, kept by Qt's settings store as an INI file
// (kestrix.ini) in the console's data folder. Files that the exchange or
// the client read are not preferences and stay files of their own.
#include <QCoreApplication>
#include <QString>

class ConsolePreferences
{
    Q_DECLARE_TR_FUNCTIONS(ConsolePreferences)

public:
    explicit ConsolePreferences(const QString &dataFolder);

    static QString fileName() { return QStringLiteral("kestrix.ini"); }

    // The language the windows are shown in from the next start: "" follows
    // the system, else "zh_CN" or "en".
    QString language() const;
    // Returns why the choice could not be kept, or empty.
    QString setLanguage(const QString &name);

private:
    QString m_file;
};
