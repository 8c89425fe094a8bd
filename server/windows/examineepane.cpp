// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/examineepane.h"

#include "report/examcharts.h"

#include <QChartView>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

ExamineePane::ExamineePane(console::HistoryController &history, QWidget *parent)
    : QWidget(parent), m_history(history)
{
    auto *layout = new QVBoxLayout(this);
    auto *find = new QHBoxLayout();
    m_examNumber = new QLineEdit(this);
    m_examNumber->setObjectName(QStringLiteral("TxtExamNumber"));
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("TxtName"));
    auto *go = new QPushButton(QStringLiteral("查找"), this);
    go->setObjectName(QStringLiteral("CmdFindExaminee"));
    connect(go, &QPushButton::clicked, this, &ExamineePane::findTypedExaminee);
    connect(m_name, &QLineEdit::returnPressed, this, &ExamineePane::findTypedExaminee);
    find->addWidget(new QLabel(QStringLiteral("考号："), this));
    find->addWidget(m_examNumber);
    find->addWidget(new QLabel(QStringLiteral("姓名："), this));
    find->addWidget(m_name);
    find->addWidget(go);
    find->addStretch(1);
    layout->addLayout(find);
    m_historyRows = new QStandardItemModel(this);
    auto *rows = new QTableView(this);
    rows->setObjectName(QStringLiteral("GridExamineeHistory"));
    rows->setModel(m_historyRows);
    rows->setEditTriggers(QAbstractItemView::NoEditTriggers);
    rows->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_trend = new QChartView(this);
    m_trend->setObjectName(QStringLiteral("ChartTrend"));
    m_trend->setRenderHint(QPainter::Antialiasing);
    auto *split = new QSplitter(Qt::Vertical, this);
    split->addWidget(rows);
    split->addWidget(m_trend);
    split->setStretchFactor(1, 2);
    layout->addWidget(split, 1);
}

void ExamineePane::findTypedExaminee()
{
    findExaminee(m_examNumber->text(), m_name->text());
}

void ExamineePane::findExaminee(const QString &examNumber, const QString &name)
{
    m_historyRows->clear();
    m_historyRows->setHorizontalHeaderLabels(
            { QStringLiteral("日期"), QStringLiteral("文章"), QStringLiteral("速度（字/分钟）"),
              QStringLiteral("正确率（%）"), QStringLiteral("等级") });
    const auto history = m_history.history(examNumber, name);
    if (!history.value) {
        emit told(history.problem);
        return;
    }
    if (history.value->isEmpty()) {
        m_trend->setChart(new QChart());
        emit told(QStringLiteral("考试存档中没有考号为“%1”、姓名为“%2”的考生。")
                          .arg(examNumber.trimmed(), name.trimmed()));
        return;
    }
    for (const HistoryPoint &point : *history.value) {
        QList<QStandardItem *> cells;
        for (const QVariant &value :
             { QVariant(point.when.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"))),
               QVariant(point.articleName), QVariant(point.speed), QVariant(point.accuracy),
               QVariant(point.grade) }) {
            auto *item = new QStandardItem();
            item->setData(value, Qt::DisplayRole);
            cells << item;
        }
        m_historyRows->appendRow(cells);
    }
    m_trend->setChart(examcharts::examineeTrend(*history.value, name.trimmed()));
}
