// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/schoolarchivedialog.h"

#include "exchange/messages.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

SchoolArchiveDialog::SchoolArchiveDialog(console::SchoolController &controller, Messages *messages,
                                         QWidget *parent)
    : QDialog(parent), m_controller(controller), m_messages(messages)
{
    setObjectName(QStringLiteral("FrmSchoolArchive"));
    setWindowTitle(tr("考试存档的位置"));
    const console::SchoolSetting &setting = controller.setting();

    m_thisComputer = new QRadioButton(tr("本机（考试存档 cjda.db）"), this);
    m_thisComputer->setObjectName(QStringLiteral("OptThisComputer"));
    m_school = new QRadioButton(tr("学校数据库（PostgreSQL）"), this);
    m_school->setObjectName(QStringLiteral("OptSchool"));
    m_place = new QLineEdit(setting.place, this);
    m_place->setObjectName(QStringLiteral("TxtPlace"));
    m_place->setPlaceholderText(tr("postgresql://用户@服务器:5432/数据库"));
    m_place->setMinimumWidth(360);
    (setting.place.isEmpty() ? m_thisComputer : m_school)->setChecked(true);
    const bool fixed = console::SchoolSettings::placeFromEnvironment();
    m_thisComputer->setEnabled(!fixed);
    m_school->setEnabled(!fixed);
    m_place->setReadOnly(fixed);
    if (fixed)
        m_place->setToolTip(tr("由环境变量 KESTRIX_ARCHIVE 指定"));
    m_lab = new QLineEdit(setting.lab, this);
    m_lab->setObjectName(QStringLiteral("TxtLab"));
    m_teacher = new QLineEdit(setting.teacher, this);
    m_teacher->setObjectName(QStringLiteral("TxtTeacher"));
    m_password = new QLineEdit(this);
    m_password->setObjectName(QStringLiteral("TxtPassword"));
    m_password->setEchoMode(QLineEdit::Password);
    auto *writePassword = new QPushButton(tr("写入口令文件"), this);
    writePassword->setObjectName(QStringLiteral("CmdWritePassword"));
    m_test = new QPushButton(tr("测试连接"), this);
    m_test->setObjectName(QStringLiteral("CmdTestConnection"));
    m_test->setEnabled(!controller.isTestingConnection());
    auto *sendNow = new QPushButton(tr("立即上传"), this);
    sendNow->setObjectName(QStringLiteral("CmdSendNow"));
    sendNow->setToolTip(tr("把尚未上传的考试现在上传到学校存档"));
    auto *sendOld = new QPushButton(tr("上传本机已有的存档"), this);
    sendOld->setObjectName(QStringLiteral("CmdSendKeptBefore"));
    m_answer = new QLabel(this);
    m_answer->setObjectName(QStringLiteral("LblAnswer"));
    m_answer->setWordWrap(true);
    m_answer->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto *form = new QFormLayout;
    form->addRow(tr("数据库地址："), m_place);
    auto *passwordRow = new QHBoxLayout;
    passwordRow->addWidget(m_password);
    passwordRow->addWidget(writePassword);
    form->addRow(tr("口令："), passwordRow);
    form->addRow(tr("机房："), m_lab);
    form->addRow(tr("教师："), m_teacher);
    auto *actions = new QHBoxLayout;
    actions->addWidget(m_test);
    actions->addWidget(sendNow);
    actions->addWidget(sendOld);
    actions->addStretch();
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Save | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Save)->setText(tr("保存"));
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("取消"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_thisComputer);
    layout->addWidget(m_school);
    layout->addLayout(form);
    layout->addWidget(new QLabel(tr("口令不保存在考试服务器中，而是写入 PostgreSQL "
                                    "自己的口令文件（只有本用户可读）。"),
                                 this));
    layout->addLayout(actions);
    layout->addWidget(m_answer);
    layout->addWidget(buttons);

    connect(m_school, &QRadioButton::toggled, this, &SchoolArchiveDialog::showPlaceChoice);
    connect(m_test, &QPushButton::clicked, this, &SchoolArchiveDialog::testConnection);
    connect(&m_controller, &console::SchoolController::connectionTested, this,
            &SchoolArchiveDialog::showTested);
    connect(writePassword, &QPushButton::clicked, this, &SchoolArchiveDialog::writePassword);
    connect(sendNow, &QPushButton::clicked, this, &SchoolArchiveDialog::sendNow);
    connect(sendOld, &QPushButton::clicked, this, &SchoolArchiveDialog::sendKeptBefore);
    connect(&m_controller, &console::SchoolController::sendEnded, this,
            &SchoolArchiveDialog::showSent);
    connect(buttons, &QDialogButtonBox::accepted, this, &SchoolArchiveDialog::save);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    showPlaceChoice();
}

QString SchoolArchiveDialog::chosenPlace() const
{
    return m_school->isChecked() ? m_place->text().trimmed() : QString();
}

void SchoolArchiveDialog::showPlaceChoice()
{
    m_place->setEnabled(m_school->isChecked());
    m_password->setEnabled(m_school->isChecked());
}

void SchoolArchiveDialog::testConnection()
{
    // A server that is away takes seconds to give up on: the dialog stays
    // live meanwhile, the button off until the answer.
    m_test->setEnabled(false);
    showAnswer(tr("正在连接……"));
    m_controller.startConnectionTest(m_place->text());
}

void SchoolArchiveDialog::showTested(const QString &answer)
{
    m_test->setEnabled(true);
    showAnswer(answer);
}

void SchoolArchiveDialog::writePassword()
{
    const QString problem =
            console::SchoolController::writePassword(m_place->text(), m_password->text());
    m_password->clear();
    showAnswer(problem.isEmpty() ? tr("口令已写入口令文件。") : problem);
}

void SchoolArchiveDialog::sendNow()
{
    showAnswer(tr("正在上传……"));
    m_controller.sendNow();
}

void SchoolArchiveDialog::sendKeptBefore()
{
    showAnswer(tr("正在上传……"));
    m_controller.sendKeptBefore();
}

// Every send that ends while the dialog is open is shown, also the one
// started after a keep.
void SchoolArchiveDialog::showSent(const SchoolOutbox::Report &report)
{
    showAnswer(report.problem.isEmpty() ? tr("已上传%1场考试。").arg(report.sent) : report.problem);
}

// A longer answer (the server's own words) makes the dialog taller
// instead of running over its buttons.
void SchoolArchiveDialog::showAnswer(const QString &answer)
{
    m_answer->setText(answer);
    adjustSize();
}

void SchoolArchiveDialog::save()
{
    const QString problem = m_controller.save({ chosenPlace(), m_lab->text(), m_teacher->text() });
    if (!problem.isEmpty()) {
        m_messages->inform(this, problem);
        return;
    }
    accept();
}
