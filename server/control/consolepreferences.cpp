// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "control/consolepreferences.h"

#include <QDir>
#include <QSettings>

namespace {

const QString kLanguageKey = QStringLiteral("window/language");

}  // namespace

ConsolePreferences::ConsolePreferences(const QString &dataFolder)
    : m_file(QDir(dataFolder).filePath(fileName()))
{
}

QString ConsolePreferences::language() const
{
    return QSettings(m_file, QSettings::IniFormat).value(kLanguageKey).toString();
}

QString ConsolePreferences::setLanguage(const QString &name)
{
    QSettings settings(m_file, QSettings::IniFormat);
    settings.setValue(kLanguageKey, name);
    settings.sync();
    if (settings.status() != QSettings::NoError)
        return tr("无法保存设置 %1").arg(QDir::toNativeSeparators(m_file));
    return {};
}
