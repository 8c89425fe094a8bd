#pragma once
// Stand-ins for the message boxes and the input methods of the typing window.
#include "inputmethods.h"
#include "messages.h"

#include <QList>
#include <QStringList>

class FakeMessages : public Messages
{
public:
    void inform(QWidget *, const QString &text) override { informed.append(text); }
    bool confirm(QWidget *, const QString &text) override
    {
        asked.append(text);
        return answer;
    }

    QStringList informed;
    QStringList asked;
    bool answer = false;
};

class FakeInputMethods : public InputMethods
{
public:
    explicit FakeInputMethods(QList<int> *activated)
        : m_activated(activated)
    {
    }
    QStringList entries() const override
    {
        return {plainKeyboardEntry(), QStringLiteral("中文 (简体) - 微软拼音"), QStringLiteral("五笔")};
    }
    void activate(int index) override { m_activated->append(index); }

private:
    QList<int> *m_activated;
};
