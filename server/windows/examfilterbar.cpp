// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/examfilterbar.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>

ExamFilterBar::ExamFilterBar(QWidget *parent) : QWidget(parent)
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_search = new QLineEdit(this);
    m_search->setObjectName(QStringLiteral("TxtSearch"));
    m_search->setPlaceholderText(QStringLiteral("按文章或日期查找，如 春晓 或 2026-03"));
    m_search->setClearButtonEnabled(true);
    layout->addWidget(new QLabel(QStringLiteral("查找："), this));
    layout->addWidget(m_search, 1);
    m_class = new QComboBox(this);
    m_class->setObjectName(QStringLiteral("CmbClass"));
    m_class->setMinimumContentsLength(10);
    layout->addWidget(new QLabel(QStringLiteral("班级："), this));
    layout->addWidget(m_class);
    connect(m_search, &QLineEdit::textChanged, this, &ExamFilterBar::searchChanged);
    connect(m_class, &QComboBox::currentIndexChanged, this, &ExamFilterBar::chooseDepartment);
}

void ExamFilterBar::setDepartments(const QStringList &departments)
{
    const QString chosen = department();
    const QSignalBlocker quiet(m_class);
    m_class->clear();
    m_class->addItem(QStringLiteral("全部班级"), QString());
    for (const QString &department : departments)
        m_class->addItem(department, department);
    m_class->setCurrentIndex(std::max(0, m_class->findData(chosen)));
}

QString ExamFilterBar::department() const
{
    return m_class->currentData().toString();
}

void ExamFilterBar::chooseDepartment()
{
    emit departmentChosen(department());
}
