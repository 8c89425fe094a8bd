// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/judgingstandarddialog.h"

#include "exchange/messages.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

JudgingStandardDialog::JudgingStandardDialog(console::ExamSettingsController &controller,
                                             Messages *messages, QWidget *parent)
    : QDialog(parent), m_controller(controller), m_messages(messages)
{
    setObjectName(QStringLiteral("FrmJudging"));
    setWindowTitle(tr("判定标准"));
    auto *layout = new QVBoxLayout(this);
    auto *intro = new QLabel(tr("成绩达到下列标准时标为存疑（原因在这一行的提示中），"
                                "由老师判断。保存后，下次获取成绩时按新的标准判断。"),
                             this);
    intro->setWordWrap(true);
    layout->addWidget(intro);
    QFormLayout *form = nullptr;
    QString mark;
    QVector<QLabel *> labels;
    for (const JudgingStandard::Setting &setting : JudgingStandard::settings()) {
        if (setting.mark != mark) {
            mark = setting.mark;
            auto *group = new QGroupBox(mark, this);
            form = new QFormLayout(group);
            form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
            layout->addWidget(group);
        }
        auto *label = new QLabel(setting.label, this);
        auto *box = new QLineEdit(this);
        box->setObjectName(QStringLiteral("Txt") + setting.name);
        box->setFixedWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("0000000")) + 12);
        form->addRow(label, box);
        labels << label;
        m_boxes << box;
    }
    // One column of boxes down the whole dialog, across the groups.
    int widest = 0;
    for (const QLabel *label : labels)
        widest = std::max(widest, label->sizeHint().width());
    for (QLabel *label : labels)
        label->setMinimumWidth(widest);

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *defaults = buttons->addButton(tr("恢复默认"), QDialogButtonBox::ResetRole);
    defaults->setObjectName(QStringLiteral("CmdDefaultJudging"));
    connect(defaults, &QPushButton::clicked, this, &JudgingStandardDialog::restoreDefaults);
    QPushButton *ok = buttons->addButton(tr("确定"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("CmdSaveJudging"));
    connect(ok, &QPushButton::clicked, this, &JudgingStandardDialog::store);
    QPushButton *cancel = buttons->addButton(tr("取消"), QDialogButtonBox::RejectRole);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    layout->addWidget(buttons);

    showStandard(m_controller.judgingStandard());
    resize(440, sizeHint().height());
}

void JudgingStandardDialog::showStandard(const JudgingStandard &standard)
{
    const QStringList texts = standard.texts();
    for (int i = 0; i < m_boxes.size(); ++i)
        m_boxes[i]->setText(texts[i]);
}

void JudgingStandardDialog::restoreDefaults()
{
    showStandard(JudgingStandard());
}

void JudgingStandardDialog::store()
{
    QStringList typed;
    for (const QLineEdit *box : m_boxes)
        typed << box->text();
    const JudgingStandard::Reading reading = JudgingStandard::fromTexts(typed);
    const QString problem = reading.standard ? m_controller.saveJudgingStandard(*reading.standard)
                                             : reading.problem;
    if (!problem.isEmpty()) {
        m_messages->inform(this, problem);
        return;
    }
    accept();
}
