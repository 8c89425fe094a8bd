// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/frmlogin.h"

#include "windows/clienttitle.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

namespace {

QLabel *newLabel(const QString &name, const QString &caption, QWidget *parent)
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(name);
    return label;
}

QLineEdit *newBox(const QString &name, QWidget *parent)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(name);
    return box;
}

}  // namespace

FrmLogin::FrmLogin(const QString &workingFolder, Messages *messages, QWidget *parent)
    : QWidget(parent),
      m_boxes(clientTitle()),
      m_messages(messages ? messages : &m_boxes),
      m_session(workingFolder)
{
    setObjectName(QStringLiteral("FrmLogin"));
    setWindowTitle(tr("登录考试服务器"));
    buildLayout();

    // Enter walks down the form and stops on the Login button without
    // pressing it.
    connect(m_ip, &QLineEdit::returnPressed, m_department, [this] { m_department->setFocus(); });
    connect(m_department, &QLineEdit::returnPressed, m_examNumber,
            [this] { m_examNumber->setFocus(); });
    connect(m_examNumber, &QLineEdit::returnPressed, m_name, [this] { m_name->setFocus(); });
    connect(m_name, &QLineEdit::returnPressed, m_login, [this] {
        (m_code->isVisible() ? static_cast<QWidget *>(m_code) : m_login)->setFocus();
    });
    connect(m_code, &QLineEdit::returnPressed, m_login, [this] { m_login->setFocus(); });

    connect(m_login, &QPushButton::clicked, this, &FrmLogin::onLoginClicked);
    connect(m_exit, &QPushButton::clicked, this, &QWidget::close);
    connect(&m_session, &LoginSession::statusChanged, m_statusPanel, &QLabel::setText);
    connect(&m_session, &LoginSession::messageRequested, this,
            [this](const QString &text) { m_messages->inform(this, text); });
    connect(&m_session, &LoginSession::resumeOffered, this, &FrmLogin::askToResume);
    connect(&m_session, &LoginSession::codeRequired, this, &FrmLogin::askForCode);
    connect(&m_session, &LoginSession::loggedIn, this, [this](const Examinee &examinee) {
        emit loggedIn(examinee);
        close();
    });

    m_ip->setText(m_session.open());
}

void FrmLogin::buildLayout()
{
    auto *form = new QGridLayout;
    form->setHorizontalSpacing(8);
    form->setVerticalSpacing(10);
    m_ip = newBox(QStringLiteral("TxtIP"), this);
    m_department = newBox(QStringLiteral("TxtBanName"), this);
    m_examNumber = newBox(QStringLiteral("TxtXueHao"), this);
    m_name = newBox(QStringLiteral("TxtXingMing"), this);
    m_code = newBox(QStringLiteral("TxtLoginCode"), this);
    m_codeLabel = newLabel(QStringLiteral("Label5"), tr("登 录 码："), this);
    const std::pair<QLabel *, QLineEdit *> rows[] = {
        { newLabel(QStringLiteral("Label1"), tr("服务器IP："), this), m_ip },
        { newLabel(QStringLiteral("Label2"), tr("部    门:"), this), m_department },
        { newLabel(QStringLiteral("Label3"), tr("考    号："), this), m_examNumber },
        { newLabel(QStringLiteral("Label4"), tr("姓    名："), this), m_name },
        { m_codeLabel, m_code },
    };
    int row = 0;
    for (const auto &[label, box] : rows) {
        label->setBuddy(box);
        // The captions pad themselves with blanks to one width; left-aligned
        // they line up.
        form->addWidget(label, row, 0, Qt::AlignLeft | Qt::AlignVCenter);
        form->addWidget(box, row, 1);
        ++row;
    }

    // Asked for only when the published exam requires codes.
    m_codeLabel->hide();
    m_code->hide();

    m_login = new QPushButton(tr("登录"), this);
    m_login->setObjectName(QStringLiteral("CmdLogin"));
    m_exit = new QPushButton(tr("退出"), this);
    m_exit->setObjectName(QStringLiteral("CmdExit"));
    // As on the examinees' desktops, Enter on a focused button presses it.
    m_login->setAutoDefault(true);
    m_exit->setAutoDefault(true);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_login);
    buttons->addSpacing(24);
    buttons->addWidget(m_exit);
    buttons->addStretch();

    m_statusBar = new QStatusBar(this);
    m_statusBar->setObjectName(QStringLiteral("StBar"));
    m_statusBar->setSizeGripEnabled(false);
    m_statusPanel = new QLabel(m_statusBar);
    m_statusPanel->setObjectName(QStringLiteral("StBarPanel1"));
    m_statusPanel->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    m_statusBar->addWidget(m_statusPanel, 1);

    auto *content = new QVBoxLayout;
    content->setContentsMargins(24, 20, 24, 12);
    content->setSpacing(16);
    content->addLayout(form);
    content->addLayout(buttons);

    auto *window = new QVBoxLayout(this);
    window->setContentsMargins(0, 0, 0, 0);
    window->setSpacing(0);
    window->addLayout(content);
    window->addWidget(m_statusBar);

    setFixedSize(360, sizeHint().height());
}

QLineEdit *FrmLogin::boxOf(LoginSession::Entry entry) const
{
    switch (entry) {
    case LoginSession::Entry::ServerIP:
        return m_ip;
    case LoginSession::Entry::Department:
        return m_department;
    case LoginSession::Entry::ExamNumber:
        return m_examNumber;
    case LoginSession::Entry::Name:
        return m_name;
    }
    return m_ip;
}

void FrmLogin::askToResume(const QString &question)
{
    m_session.answerResume(m_messages->confirm(this, question));
}

void FrmLogin::askForCode(const QString &message)
{
    m_codeLabel->show();
    m_code->show();
    setFixedSize(360, sizeHint().height());
    m_messages->inform(this, message);
    m_code->setFocus();
    m_code->selectAll();
}

void FrmLogin::onLoginClicked()
{
    Examinee entries;
    entries.serverIP = m_ip->text();
    entries.department = m_department->text();
    entries.examNumber = m_examNumber->text();
    entries.name = m_name->text();
    entries.loginCode = m_code->text();
    const LoginSession::Click click = m_session.login(entries);
    if (click.outcome == LoginSession::ClickOutcome::EntryMissing) {
        m_messages->inform(this, LoginSession::missingEntryMessage(click.missing));
        boxOf(click.missing)->setFocus();
    }
}
