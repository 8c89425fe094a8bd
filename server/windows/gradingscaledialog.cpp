// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/gradingscaledialog.h"

#include "exchange/messages.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

constexpr int kColumns = 4;

}  // namespace

GradingScaleDialog::GradingScaleDialog(console::ExamSettingsController &controller,
                                       Messages *messages, QWidget *parent)
    : QDialog(parent), m_controller(controller), m_messages(messages)
{
    setObjectName(QStringLiteral("FrmGrading"));
    setWindowTitle(tr("评分标准"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("从上到下由高到低；成绩达到某一等级的最低速度和最低正确率，"
                                    "就评为第一个达到的等级。最后一个等级为不及格。"),
                                 this));
    m_table = new QTableWidget(0, kColumns, this);
    m_table->setObjectName(QStringLiteral("GridGrades"));
    m_table->setHorizontalHeaderLabels(
            { tr("等级"), tr("最低速度（字/分钟）"), tr("最低正确率（%）"), tr("得分") });
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_table->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(m_table);

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *add = buttons->addButton(tr("添加等级"), QDialogButtonBox::ActionRole);
    add->setObjectName(QStringLiteral("CmdAddGrade"));
    connect(add, &QPushButton::clicked, this, &GradingScaleDialog::addGrade);
    QPushButton *remove = buttons->addButton(tr("删除等级"), QDialogButtonBox::ActionRole);
    remove->setObjectName(QStringLiteral("CmdRemoveGrade"));
    connect(remove, &QPushButton::clicked, this, &GradingScaleDialog::removeGrade);
    QPushButton *standard = buttons->addButton(tr("恢复默认"), QDialogButtonBox::ResetRole);
    standard->setObjectName(QStringLiteral("CmdStandardGrades"));
    connect(standard, &QPushButton::clicked, this, &GradingScaleDialog::restoreStandard);
    QPushButton *ok = buttons->addButton(tr("确定"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("CmdSaveGrades"));
    connect(ok, &QPushButton::clicked, this, &GradingScaleDialog::store);
    QPushButton *cancel = buttons->addButton(tr("取消"), QDialogButtonBox::RejectRole);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    layout->addWidget(buttons);

    showScale(m_controller.gradingScale());
    resize(620, 320);
}

void GradingScaleDialog::showScale(const GradingScale &scale)
{
    m_table->setRowCount(0);
    for (const Grade &grade : scale.grades()) {
        const int row = m_table->rowCount();
        m_table->insertRow(row);
        const QString cells[kColumns] = { grade.name, QString::number(grade.minSpeed),
                                          QString::number(grade.minAccuracy),
                                          QString::number(grade.score) };
        for (int column = 0; column < kColumns; ++column)
            m_table->setItem(row, column, new QTableWidgetItem(cells[column]));
    }
}

void GradingScaleDialog::addGrade()
{
    const int row = m_table->currentRow() >= 0 ? m_table->currentRow() + 1 : m_table->rowCount();
    m_table->insertRow(row);
    for (int column = 0; column < kColumns; ++column)
        m_table->setItem(row, column, new QTableWidgetItem(QStringLiteral("0")));
    m_table->item(row, 0)->setText(QString());
    m_table->setCurrentCell(row, 0);
}

void GradingScaleDialog::removeGrade()
{
    if (m_table->currentRow() >= 0)
        m_table->removeRow(m_table->currentRow());
}

void GradingScaleDialog::restoreStandard()
{
    showScale(GradingScale::standard());
}

void GradingScaleDialog::store()
{
    QVector<QStringList> typed;
    for (int row = 0; row < m_table->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < kColumns; ++column) {
            const QTableWidgetItem *item = m_table->item(row, column);
            cells << (item ? item->text() : QString());
        }
        typed.append(cells);
    }
    const GradingScale::Reading reading = GradingScale::fromTable(typed);
    const QString problem =
            reading.scale ? m_controller.saveGradingScale(*reading.scale) : reading.problem;
    if (!problem.isEmpty()) {
        m_messages->inform(this, problem);
        return;
    }
    accept();
}
