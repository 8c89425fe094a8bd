// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "exam/fcitxinputmethods.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QHash>

namespace {

// A busy or hung service must not hold up the window for long.
constexpr int kCallMillis = 2000;

QDBusMessage callController(const QDBusConnection &bus, const QString &method,
                            const QVariantList &arguments = {})
{
    QDBusMessage call = QDBusMessage::createMethodCall(
            QStringLiteral("org.fcitx.Fcitx5"), QStringLiteral("/controller"),
            QStringLiteral("org.fcitx.Fcitx.Controller1"), method);
    call.setArguments(arguments);
    // Only a running Fcitx 5 counts: the bus must not start one the
    // examinee does not use.
    call.setAutoStartService(false);
    return bus.call(call, QDBus::Block, kCallMillis);
}

// The reply's argument at index, or nothing when the call failed.
QVariant replyArgument(const QDBusMessage &reply, int index)
{
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() <= index)
        return QVariant();
    return reply.arguments().at(index);
}

// The first two fields of each structure in an array of structures that
// begin with two strings: a(ss) and a(ssssssb) alike.
QList<QPair<QString, QString>> leadingPairs(const QVariant &value)
{
    QList<QPair<QString, QString>> pairs;
    if (!value.canConvert<QDBusArgument>())
        return pairs;
    const QDBusArgument array = value.value<QDBusArgument>();
    array.beginArray();
    while (!array.atEnd()) {
        array.beginStructure();
        QStringList fields;
        while (!array.atEnd())
            fields.append(array.asVariant().toString());
        array.endStructure();
        if (fields.size() >= 2)
            pairs.append({ fields.at(0), fields.at(1) });
    }
    array.endArray();
    return pairs;
}

}  // namespace

Fcitx5InputMethods::Fcitx5InputMethods(const QDBusConnection &bus) : m_bus(bus)
{
    if (!m_bus.isConnected())
        return;
    const QString group =
            replyArgument(callController(m_bus, QStringLiteral("CurrentInputMethodGroup")), 0)
                    .toString();
    const auto items = leadingPairs(replyArgument(
            callController(m_bus, QStringLiteral("InputMethodGroupInfo"), { group }), 1));
    if (items.isEmpty())
        return;
    QHash<QString, QString> displayNames;
    const auto available = leadingPairs(
            replyArgument(callController(m_bus, QStringLiteral("AvailableInputMethods")), 0));
    for (const auto &[engine, name] : available)
        displayNames.insert(engine, name);
    for (const auto &item : items) {
        m_engines.append(item.first);
        m_entries.append(displayNames.value(item.first, item.first));
    }
}

void Fcitx5InputMethods::activate(int index)
{
    if (index >= 0 && index < m_engines.size())
        callController(m_bus, QStringLiteral("SetCurrentIM"), { m_engines.at(index) });
}
