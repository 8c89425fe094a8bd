#pragma once
// What the console asks of the desktop: message boxes, the file dialog and
// the shell's "open". Tests put recorders in their place.
#include <QString>
#include <QUrl>

#include <functional>

class QWidget;

struct ConsoleHooks
{
    // A box titled "打字考试服务器" with the text and only an OK button.
    std::function<void(QWidget *parent, const QString &text)> showMessage;
    // A box titled "打字考试服务器" with the question and 是 / 否 buttons
    // (否 the default); true for 是.
    std::function<bool(QWidget *parent, const QString &question)> ask;
    // The open-file dialog for articles; an empty name when cancelled.
    std::function<QString(QWidget *parent, const QString &initialFolder)> chooseArticle;
    // The open-file dialog for a class list; an empty name when cancelled.
    std::function<QString(QWidget *parent)> chooseRoster;
    // The folder dialog for the exchange folder; empty when cancelled.
    std::function<QString(QWidget *parent, const QString &initialFolder)> chooseFolder;
    // Opens a file or link with the desktop's program for it.
    std::function<bool(const QUrl &url)> openUrl;

    static QString messageTitle() { return QStringLiteral("打字考试服务器"); }
    // The filter of the article dialog: one entry, shown as "文本文件 *.txt".
    // Without parentheses Qt takes every word as a pattern, so *.txt filters.
    static QString articleFilter() { return QStringLiteral("文本文件 *.txt"); }

    static QString rosterFilter() { return QStringLiteral("考生名单 (*.xlsx *.csv *.txt)"); }

    static ConsoleHooks desktop();
};
