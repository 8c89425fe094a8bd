#include "messages.h"

#include <QMessageBox>

QString clientTitle()
{
    return QStringLiteral("Kestrix客户端");
}

void BoxMessages::inform(QWidget *parent, const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, clientTitle(), text, QMessageBox::Ok, parent);
    box.exec();
}

bool BoxMessages::ask(QWidget *parent, const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, clientTitle(), text, QMessageBox::Yes | QMessageBox::No,
                    parent);
    return box.exec() == QMessageBox::Yes;
}
