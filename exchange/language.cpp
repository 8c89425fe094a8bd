// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace language {

namespace {

const QString kOption = QStringLiteral("--language");

std::optional<Choice> fromLocaleName(const QString &name)
{
    const QString lowered = name.toLower();
    if (lowered == QLatin1String("zh") || lowered.startsWith(QLatin1String("zh-"))
        || lowered.startsWith(QLatin1String("zh_")))
        return Choice::Chinese;
    if (lowered == QLatin1String("en") || lowered.startsWith(QLatin1String("en-"))
        || lowered.startsWith(QLatin1String("en_")))
        return Choice::English;
    return std::nullopt;
}

}  // namespace

std::optional<Choice> fromName(const QString &name)
{
    return fromLocaleName(name.trimmed());
}

Choice fromSystem(const QStringList &uiLanguages)
{
    for (const QString &name : uiLanguages)
        if (const std::optional<Choice> spoken = fromLocaleName(name))
            return *spoken;
    return Choice::Chinese;
}

Choice choose(const QString &requested, const QStringList &uiLanguages)
{
    if (const std::optional<Choice> named = fromName(requested))
        return *named;
    return fromSystem(uiLanguages);
}

QString requestedOnCommandLine(const QStringList &arguments)
{
    for (int i = 1; i < arguments.size(); ++i) {
        if (arguments[i] == kOption)
            return arguments.value(i + 1);
        if (arguments[i].startsWith(kOption + QLatin1Char('=')))
            return arguments[i].mid(kOption.size() + 1);
    }
    return {};
}

QString install(QCoreApplication &app, Choice choice, const QString &catalogue)
{
    auto *translator = new QTranslator(&app);
    if (choice == Choice::Chinese) {
        if (translator->load(QStringLiteral("qtbase_zh_CN"),
                             QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            QCoreApplication::installTranslator(translator);
        return {};
    }
    const QString file = QStringLiteral(":/i18n/%1_en.qm").arg(catalogue);
    if (!translator->load(file))
        return QStringLiteral("the English catalogue %1 is missing").arg(file);
    QCoreApplication::installTranslator(translator);
    return {};
}

}  // namespace language
