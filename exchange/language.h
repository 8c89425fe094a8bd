// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Which language the windows speak. They are written in simplified Chinese;
// each program carries an English catalogue of every text it shows.
#include <QString>
#include <QStringList>

#include <optional>

class QCoreApplication;

namespace language {

enum class Choice { Chinese, English };

// The names a setting or the command line gives: "zh_CN" (also "zh") and
// "en"; an empty name follows the system; nullopt for a name not spoken.
std::optional<Choice> fromName(const QString &name);

// The first of the system's preferred languages that is spoken here wins;
// when none is, the windows stay in the Chinese they are written in.
Choice fromSystem(const QStringList &uiLanguages);

// The requested name when it is spoken, else the system's choice.
Choice choose(const QString &requested, const QStringList &uiLanguages);

// "--language NAME" on the command line, or an empty name.
QString requestedOnCommandLine(const QStringList &arguments);

// Installs the program's catalogue (":/i18n/<catalogue>_en.qm") for English,
// or Qt's own Chinese texts (file dialogs, standard buttons) for Chinese.
// Returns a problem when the English catalogue is missing; the windows then
// stay in Chinese.
QString install(QCoreApplication &app, Choice choice, const QString &catalogue);

}  // namespace language
