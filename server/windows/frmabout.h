// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The About box: product picture, name, version, the maker's lines and the
// licence.
#include <QUrl>
#include <QWidget>

#include <functional>

class QLabel;

class FrmAbout : public QWidget
{
    Q_OBJECT

public:
    static QUrl supportMail() { return QUrl(QStringLiteral("mailto:support@kestrix.example.org")); }
    static QUrl website() { return QUrl(QStringLiteral("https://kestrix.example.org")); }
    // "1.3": the program's major and minor version.
    static QString versionText();

    static QString licenceFileName() { return QStringLiteral("LICENSE.txt"); }
    static QUrl licenceWebPage()
    {
        return QUrl(QStringLiteral("https://www.gnu.org/licenses/gpl-3.0.html"));
    }

    // openUrl carries out the clicks on the links; the licence's full text
    // is `licenceFile`, or on the web when that file is missing.
    FrmAbout(std::function<bool(const QUrl &)> openUrl, const QString &licenceFile);

    // Shows the box in front, centred on the screen `window` is on when it
    // was not showing yet.
    void showInFrontOf(const QWidget *window);

private:
    QLabel *addLabel(const char *name, const QString &text, int left, int top, int width);
    QLabel *addLink(const char *name, const QString &text, const QUrl &url, int left, int top,
                    int width);

    std::function<bool(const QUrl &)> m_openUrl;
};
