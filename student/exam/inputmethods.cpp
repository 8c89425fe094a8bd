#include "exam/inputmethods.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTextStream>

QString plainKeyboardEntry()
{
    return QStringLiteral("English (American)");
}

#ifdef Q_OS_WIN

#include "gbk.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <imm.h>

namespace {

// The layouts of the calling thread as the system lists them, with the
// description of each input method, as the keyboard-layout and IMM calls
// give them.
class WindowsInputMethods : public InputMethods
{
public:
    WindowsInputMethods()
    {
        const HKL startLayout = GetKeyboardLayout(0);
        m_layoutCount = GetKeyboardLayoutList(kMaxLayouts, m_layouts);
        if (m_layoutCount < 0)
            m_layoutCount = 0;
        for (int i = 0; i < m_layoutCount; ++i) {
            if (ImmIsIME(m_layouts[i])) {
                char description[256] = {};
                const UINT length = ImmGetDescriptionA(m_layouts[i], description, 255);
                m_entries.append(gbk::decode(
                        QByteArrayView(description, qsizetype(length < 256 ? length : 255))));
            } else {
                m_entries.append(plainKeyboardEntry());
            }
        }
        // Building the list leaves the layout the window opened with.
        ActivateKeyboardLayout(startLayout, 0);
    }

    QStringList entries() const override { return m_entries; }

    void activate(int index) override
    {
        if (index >= 0 && index < m_layoutCount)
            ActivateKeyboardLayout(m_layouts[index], 0);
    }

private:
    static constexpr int kMaxLayouts = 25;
    HKL m_layouts[kMaxLayouts] = {};
    int m_layoutCount = 0;
    QStringList m_entries;
};

}  // namespace

std::unique_ptr<InputMethods> createSystemInputMethods()
{
    return std::make_unique<WindowsInputMethods>();
}

#else

namespace {

QStringList readLines(const QString &path)
{
    QFile file(path);
    QStringList lines;
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return lines;
    QTextStream stream(&file);
    QString line;
    while (stream.readLineInto(&line))
        lines.append(line.trimmed());
    return lines;
}

bool isKeyboardName(const QString &name)
{
    return name.startsWith(QLatin1String("keyboard"))
            || name.startsWith(QLatin1String("fcitx-keyboard"));
}

void appendOnce(QStringList &list, const QString &entry)
{
    if (!entry.isEmpty() && !list.contains(entry))
        list.append(entry);
}

// Fcitx 5 lists each group's input methods as "Name=..." under
// [Groups/N/Items/M].
QStringList fcitx5Methods(const QString &configHome)
{
    QStringList methods;
    bool inItem = false;
    const QStringList lines = readLines(configHome + QLatin1String("/fcitx5/profile"));
    for (const QString &line : lines) {
        if (line.startsWith(u'[')) {
            inItem = line.contains(QLatin1String("/Items/"));
            continue;
        }
        if (inItem && line.startsWith(QLatin1String("Name="))) {
            const QString name = line.mid(5).trimmed();
            if (!isKeyboardName(name))
                appendOnce(methods, name);
        }
    }
    return methods;
}

// Fcitx 4 keeps "EnabledIMList=name:True,name:False,...".
QStringList fcitx4Methods(const QString &configHome)
{
    QStringList methods;
    const QStringList lines = readLines(configHome + QLatin1String("/fcitx/profile"));
    for (const QString &line : lines) {
        if (!line.startsWith(QLatin1String("EnabledIMList=")))
            continue;
        const QStringList items = line.mid(14).split(u',', Qt::SkipEmptyParts);
        for (const QString &item : items) {
            const QString name = item.section(u':', 0, 0).trimmed();
            const bool enabled = item.section(u':', 1, 1).trimmed() != QLatin1String("False");
            if (enabled && !isKeyboardName(name))
                appendOnce(methods, name);
        }
    }
    return methods;
}

QString frameworkFromEnvironment()
{
    for (const char *variable : { "QT_IM_MODULE", "GTK_IM_MODULE" }) {
        const QString module = qEnvironmentVariable(variable).trimmed();
        if (!module.isEmpty() && module != QLatin1String("xim")
            && module != QLatin1String("compose"))
            return module == QLatin1String("ibus") ? QStringLiteral("IBus") : module;
    }
    const QString modifiers = qEnvironmentVariable("XMODIFIERS");
    if (modifiers.startsWith(QLatin1String("@im=")))
        return modifiers.mid(4);
    return QString();
}

}  // namespace

DesktopInputMethods::DesktopInputMethods(const QString &configHome)
{
    m_entries.append(plainKeyboardEntry());
    QStringList methods = fcitx5Methods(configHome);
    if (methods.isEmpty())
        methods = fcitx4Methods(configHome);
    if (methods.isEmpty())
        appendOnce(methods, frameworkFromEnvironment());
    for (const QString &method : std::as_const(methods))
        appendOnce(m_entries, method);
}

void DesktopInputMethods::activate(int index)
{
    if (index >= 0 && index < m_entries.size())
        m_active = index;
}

std::unique_ptr<InputMethods> createSystemInputMethods()
{
    return std::make_unique<DesktopInputMethods>(
            QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
}

#endif
