#pragma once
// The client's message boxes behind one small interface, so that tests can
// answer them instead of a person.
#include <QString>

class QWidget;

class Messages
{
public:
    virtual ~Messages() = default;
    // A box with the text and an OK button.
    virtual void inform(QWidget *parent, const QString &text) = 0;
    // A box with the text and the buttons Yes and No; true for Yes.
    virtual bool ask(QWidget *parent, const QString &text) = 0;
};

// Modal boxes titled "Kestrix客户端", without an icon.
class BoxMessages : public Messages
{
public:
    void inform(QWidget *parent, const QString &text) override;
    bool ask(QWidget *parent, const QString &text) override;
};

// The title of every box of the client.
QString clientTitle();
