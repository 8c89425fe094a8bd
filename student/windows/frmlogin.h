// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The login window: the server address and the examinee's identity, the
// download of the exam, and the hand-over to the typing window.
#include "transfer/examinee.h"
#include "transfer/loginsession.h"
#include "exchange/messages.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;
class QStatusBar;

class FrmLogin : public QWidget
{
    Q_OBJECT

public:
    // Files (ip.txt, se.dll, te.txt ...) live in `workingFolder`. Without
    // `messages` the window shows real message boxes.
    explicit FrmLogin(const QString &workingFolder, Messages *messages = nullptr,
                      QWidget *parent = nullptr);

    LoginSession &session() { return m_session; }

signals:
    // The exam text is in te.txt in the working folder; the window closes
    // right after this signal.
    void loggedIn(const Examinee &examinee);

private:
    void buildLayout();
    void onLoginClicked();
    void askToResume(const QString &question);
    void askForCode(const QString &message);
    QLineEdit *boxOf(LoginSession::Entry entry) const;

    MessageBoxes m_boxes;
    Messages *m_messages;
    LoginSession m_session;

    QLineEdit *m_ip = nullptr;
    QLineEdit *m_department = nullptr;
    QLineEdit *m_examNumber = nullptr;
    QLineEdit *m_name = nullptr;
    QLabel *m_codeLabel = nullptr;
    QLineEdit *m_code = nullptr;
    QPushButton *m_login = nullptr;
    QPushButton *m_exit = nullptr;
    QStatusBar *m_statusBar = nullptr;
    QLabel *m_statusPanel = nullptr;
};
