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
#include <QSignalBlocker>
#include <QVBoxLayout>

TermWorkbookDialog::TermWorkbookDialog(const QVector<SchoolTerm> &terms, bool school,
                                       ClassesOf classesOf, QWidget *parent)
    : QDialog(parent), m_terms(terms), m_classesOf(std::move(classesOf))
{
    setObjectName(QStringLiteral("TermWorkbookDialog"));
    setWindowTitle(tr("年级学期报告"));
    auto *layout = new QVBoxLayout(this);
    auto *source = new QLabel(school ? tr("班级来自学校存档：所有机房、所有教师的考试。")
                                     : tr("班级来自本机存档。"),
                              this);
    source->setObjectName(QStringLiteral("LblSource"));
    layout->addWidget(source);

    auto *form = new QFormLayout();
    m_termBox = new QComboBox(this);
    m_termBox->setObjectName(QStringLiteral("CboTerm"));
    for (const SchoolTerm &term : m_terms)
        m_termBox->addItem(term.name());
    form->addRow(tr("学期"), m_termBox);
    layout->addLayout(form);

    layout->addWidget(new QLabel(tr("班级（每班一个工作表，另有年级汇总）"), this));
    m_classes = new QListWidget(this);
    m_classes->setObjectName(QStringLiteral("LstClasses"));
    connect(m_classes, &QListWidget::itemChanged, this, &TermWorkbookDialog::classTicked);
    layout->addWidget(m_classes, 1);
    m_classesNote = new QLabel(this);
    m_classesNote->setObjectName(QStringLiteral("LblClassesNote"));
    m_classesNote->setWordWrap(true);
    layout->addWidget(m_classesNote);

    auto *ticks = new QHBoxLayout();
    auto *all = new QPushButton(tr("全选"), this);
    all->setObjectName(QStringLiteral("CmdAllClasses"));
    connect(all, &QPushButton::clicked, this, &TermWorkbookDialog::tickEveryClass);
    auto *none = new QPushButton(tr("全不选"), this);
    none->setObjectName(QStringLiteral("CmdNoClasses"));
    connect(none, &QPushButton::clicked, this, &TermWorkbookDialog::tickNoClass);
    ticks->addWidget(all);
    ticks->addWidget(none);
    ticks->addStretch(1);
    layout->addLayout(ticks);

    auto *buttons = new QDialogButtonBox(this);
    m_generate = buttons->addButton(tr("生成"), QDialogButtonBox::AcceptRole);
    m_generate->setObjectName(QStringLiteral("CmdGenerate"));
    buttons->addButton(tr("取消"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    connect(m_termBox, &QComboBox::currentIndexChanged, this, &TermWorkbookDialog::readClasses);
    readClasses();
    resize(420, 480);
}

void TermWorkbookDialog::readClasses()
{
    m_classes->clear();
    classTicked();
    if (m_terms.isEmpty())
        return;
    m_classesNote->setText(tr("正在读取这个学期考过的班级……"));
    const SchoolTerm asked = term();
    m_classesOf(asked, this, [this, asked](const ArchiveRead<QStringList> &classes) {
        showClasses(asked, classes);
    });
}

void TermWorkbookDialog::showClasses(const SchoolTerm &asked,
                                     const ArchiveRead<QStringList> &classes)
{
    // The answer for a term chosen before: the one now chosen is still to come.
    if (!(asked == term()))
        return;
    m_classesNote->setText(!classes.value                     ? classes.problem
                                   : classes.value->isEmpty() ? tr("这个学期没有班级考过试。")
                                                              : QString());
    const QSignalBlocker quiet(m_classes);
    for (const QString &name : classes.value.value_or(QStringList())) {
        auto *item = new QListWidgetItem(name, m_classes);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    classTicked();
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
