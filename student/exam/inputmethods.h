#pragma once
// The keyboard layouts and input methods the examinee can choose from, and
// switching to one when the exam starts. The typing window sees only this
// interface; each desktop has its own implementation.
#include <QString>
#include <QStringList>

#include <memory>

class InputMethods
{
public:
    virtual ~InputMethods() = default;

    // One entry per layout or input method, in the system's order; the
    // plain keyboard shows as "English (American)".
    virtual QStringList entries() const = 0;
    // Switches to entry index; an index outside the list does nothing.
    virtual void activate(int index) = 0;
};

// The text of an entry that is a plain keyboard layout, not an input method.
QString plainKeyboardEntry();

// The implementation for the desktop the program runs on.
std::unique_ptr<InputMethods> createSystemInputMethods();

#ifndef Q_OS_WIN
// Input methods that an X11/Wayland desktop's framework offers, read from its
// configuration: Fcitx 5 ("profile" under configHome/fcitx5), Fcitx 4
// ("profile" under configHome/fcitx), else the framework named by the
// environment (IBus, for one). The plain keyboard always comes first.
// Switching is left to the framework, whose hot keys work as usual, so
// activate() only records the choice.
class DesktopInputMethods : public InputMethods
{
public:
    explicit DesktopInputMethods(const QString &configHome);

    QStringList entries() const override { return m_entries; }
    void activate(int index) override;

    int activeIndex() const { return m_active; }

private:
    QStringList m_entries;
    int m_active = 0;
};
#endif
