// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/examfilterbar.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QAbstractItemView>

namespace {

constexpr int kSearchPauseMillis = 300;
// Signs each choice shows, whatever its longest value: a long lab name
// would otherwise take the room of 查找. A term's name is shown whole.
constexpr int kChoiceSigns = 6;
constexpr int kTermSigns = 11;
constexpr int kSearchSigns = 12;

// Fills a choice with "all" first, then `values`; the value chosen stays
// chosen while it is among them.
void fill(QComboBox *choice, const QString &all, const QStringList &values)
{
    const QString chosen = choice->currentIndex() > 0 ? choice->currentText() : QString();
    const QSignalBlocker quiet(choice);
    choice->clear();
    choice->addItem(all);
    choice->addItems(values);
    choice->setCurrentIndex(std::max(0, int(values.indexOf(chosen)) + 1));
    // The list opens wide enough for the longest value.
    int widest = 0;
    for (const QString &value : values)
        widest = std::max(widest, choice->fontMetrics().horizontalAdvance(value));
    choice->view()->setMinimumWidth(widest + choice->iconSize().width() * 2);
}

// A value cut short in its box is read whole in the tooltip.
void showWhole(QComboBox *choice)
{
    choice->setToolTip(choice->currentIndex() > 0 ? choice->currentText() : QString());
}

// The value chosen; empty for "all".
QString chosenValue(const QComboBox *choice)
{
    return choice->currentIndex() > 0 ? choice->currentText() : QString();
}

}  // namespace

ExamFilterBar::ExamFilterBar(QWidget *parent) : QWidget(parent)
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_search = new QLineEdit(this);
    m_search->setObjectName(QStringLiteral("TxtSearch"));
    m_search->setPlaceholderText(tr("按文章或日期查找，如 春晓 或 2026-03"));
    m_search->setClearButtonEnabled(true);
    m_search->setMinimumWidth(m_search->fontMetrics().horizontalAdvance(u'字') * kSearchSigns);
    layout->addWidget(new QLabel(tr("查找："), this));
    layout->addWidget(m_search, 1);
    m_lab = addChoice(tr("机房："), "CmbLab", kChoiceSigns);
    m_teacher = addChoice(tr("教师："), "CmbTeacher", kChoiceSigns);
    m_class = addChoice(tr("班级："), "CmbClass", kChoiceSigns);
    m_term = addChoice(tr("学期："), "CmbTerm", kTermSigns);
    for (QComboBox *choice : { m_lab, m_teacher, m_class })
        connect(choice, &QComboBox::currentIndexChanged, choice, [choice] { showWhole(choice); });
    m_term->setToolTip(tr("第一学期为8月1日至1月31日，第二学期为2月1日至7月31日"));
    m_searchPause.setSingleShot(true);
    m_searchPause.setInterval(kSearchPauseMillis);
    connect(m_search, &QLineEdit::textChanged, &m_searchPause, qOverload<>(&QTimer::start));
    connect(&m_searchPause, &QTimer::timeout, this, &ExamFilterBar::changed);
}

QComboBox *ExamFilterBar::addChoice(const QString &caption, const char *name, int signs)
{
    // The caption and the choice, shown and hidden together.
    auto *pair = new QWidget(this);
    auto *layout = new QHBoxLayout(pair);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *choice = new QComboBox(pair);
    choice->setObjectName(QLatin1String(name));
    choice->setMinimumContentsLength(signs);
    choice->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    layout->addWidget(new QLabel(caption, pair));
    layout->addWidget(choice);
    static_cast<QHBoxLayout *>(this->layout())->addWidget(pair);
    connect(choice, &QComboBox::currentIndexChanged, this, &ExamFilterBar::changed);
    return choice;
}

void ExamFilterBar::setChoices(const ExamFilterChoices &choices, bool school)
{
    fill(m_lab, tr("全部机房"), choices.labs);
    fill(m_teacher, tr("全部教师"), choices.teachers);
    fill(m_class, tr("全部班级"), choices.departments);
    for (QComboBox *choice : { m_lab, m_teacher, m_class })
        showWhole(choice);
    m_terms = choices.terms;
    QStringList terms;
    for (const SchoolTerm &term : m_terms)
        terms.append(term.name());
    fill(m_term, tr("全部学期"), terms);
    m_lab->parentWidget()->setVisible(school);
    m_teacher->parentWidget()->setVisible(school);
    // A filter that cannot be seen does not filter.
    if (!school) {
        const QSignalBlocker quietLab(m_lab);
        const QSignalBlocker quietTeacher(m_teacher);
        m_lab->setCurrentIndex(0);
        m_teacher->setCurrentIndex(0);
    }
}

ExamFilter ExamFilterBar::filter() const
{
    ExamFilter filter;
    filter.lab = chosenValue(m_lab);
    filter.teacher = chosenValue(m_teacher);
    filter.department = chosenValue(m_class);
    if (m_term->currentIndex() > 0)
        filter.term = m_terms.at(m_term->currentIndex() - 1);
    filter.search = m_search->text();
    return filter;
}
