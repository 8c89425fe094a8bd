// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Message boxes of both programs: the program's title, no icon. Windows take
// a Messages so that tests can answer the boxes instead of a person.
#include <QString>

class QWidget;

class Messages
{
public:
    virtual ~Messages() = default;
    // A box with OK only.
    virtual void inform(QWidget *parent, const QString &text) = 0;
    // A box with Yes and No; true for Yes.
    virtual bool confirm(QWidget *parent, const QString &text) = 0;
};

// Real modal boxes with the program's title; a question's default answer
// is No where a wrong Yes would cost the examiner something.
class MessageBoxes : public Messages
{
public:
    enum class DefaultAnswer { Yes, No };
    explicit MessageBoxes(QString title, DefaultAnswer defaultAnswer = DefaultAnswer::Yes)
        : m_title(std::move(title)), m_defaultAnswer(defaultAnswer)
    {
    }
    void inform(QWidget *parent, const QString &text) override;
    bool confirm(QWidget *parent, const QString &text) override;

private:
    QString m_title;
    DefaultAnswer m_defaultAnswer;
};
