// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/termworkbookdialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

TermWorkbookDialog::TermWorkbookDialog(const ExamFilterChoices &choices, bool school,
                                       QWidget *parent)
    : QDialog(parent), m_terms(choices.terms)
{
    setObjectName(QStringLiteral("TermWorkbookDialog"));
    setWindowTitle(QStringLiteral("年级学期报告"));
    auto *layout = new QVBoxLayout(this);
    auto *source =
            new QLabel(school ? QStringLiteral("班级来自学校存档：所有机房、所有教师的考试。")
                              : QStringLiteral("班级来自本机存档。"),
                       this);
    source->setObjectName(QStringLiteral("LblSource"));
    layout->addWidget(source);

    auto *form = new QFormLayout();
    m_termBox = new QComboBox(this);
    m_termBox->setObjectName(QStringLiteral("CboTerm"));
    for (const SchoolTerm &term : m_terms)
        m_termBox->addItem(term.name());
    form->addRow(QStringLiteral("学期"), m_termBox);
    layout->addLayout(form);

    layout->addWidget(new QLabel(QStringLiteral("班级（每班一个工作表，另有年级汇总）"), this));
    m_classes = new QListWidget(this);
    m_classes->setObjectName(QStringLiteral("LstClasses"));
    for (const QString &name : choices.departments) {
        auto *item = new QListWidgetItem(name, m_classes);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    connect(m_classes, &QListWidget::itemChanged, this, &TermWorkbookDialog::classTicked);
    layout->addWidget(m_classes, 1);

    auto *ticks = new QHBoxLayout();
    auto *all = new QPushButton(QStringLiteral("全选"), this);
    all->setObjectName(QStringLiteral("CmdAllClasses"));
    connect(all, &QPushButton::clicked, this, &TermWorkbookDialog::tickEveryClass);
    auto *none = new QPushButton(QStringLiteral("全不选"), this);
    none->setObjectName(QStringLiteral("CmdNoClasses"));
    connect(none, &QPushButton::clicked, this, &TermWorkbookDialog::tickNoClass);
    ticks->addWidget(all);
    ticks->addWidget(none);
    ticks->addStretch(1);
    layout->addLayout(ticks);

    auto *buttons = new QDialogButtonBox(this);
    m_generate = buttons->addButton(QStringLiteral("生成"), QDialogButtonBox::AcceptRole);
    m_generate->setObjectName(QStringLiteral("CmdGenerate"));
    buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    classTicked();
    resize(420, 480);
}

SchoolTerm TermWorkbookDialog::term() const
{
    const int index = m_termBox->currentIndex();
    return index >= 0 ? m_terms[index] : SchoolTerm::of(QDate::currentDate());
}

QStringList TermWorkbookDialog::classes() const
{
    QStringList ticked;
    for (int i = 0; i < m_classes->count(); ++i) {
        if (m_classes->item(i)->checkState() == Qt::Checked)
            ticked.append(m_classes->item(i)->text());
    }
    return ticked;
}

void TermWorkbookDialog::tickEveryClass()
{
    tickAll(true);
}

void TermWorkbookDialog::tickNoClass()
{
    tickAll(false);
}

void TermWorkbookDialog::tickAll(bool ticked)
{
    for (int i = 0; i < m_classes->count(); ++i)
        m_classes->item(i)->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
}

void TermWorkbookDialog::classTicked()
{
    m_generate->setEnabled(!classes().isEmpty() && !m_terms.isEmpty());
}
