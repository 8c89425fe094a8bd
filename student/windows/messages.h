#pragma once
// The client's message boxes: the program's title, no icon. Windows take a
// Messages so that tests can answer the boxes instead of a person.
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

// Real modal boxes titled "Kestrix客户端".
class MessageBoxes : public Messages
{
public:
    void inform(QWidget *parent, const QString &text) override;
    bool confirm(QWidget *parent, const QString &text) override;
};
