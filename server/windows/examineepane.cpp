// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/examineepane.h"

#include "report/examcharts.h"

#include "exchange/numbers.h"

#include <QChartView>
#include <QCompleter>
#include <QDir>
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
    // Part of a number or a name lists the examinees it fits.
    m_pick = new QLineEdit(this);
    m_pick->setObjectName(QStringLiteral("TxtPickExaminee"));
    m_pick->setPlaceholderText(tr("输入考号或姓名的一部分，从列表中选择"));
    m_pick->setClearButtonEnabled(true);
    m_pick->setMinimumWidth(m_pick->fontMetrics().horizontalAdvance(m_pick->placeholderText()));
    m_known = new QStandardItemModel(this);
    m_picker = new QCompleter(m_known, this);
    m_picker->setCaseSensitivity(Qt::CaseInsensitive);
    m_picker->setFilterMode(Qt::MatchContains);
    m_picker->setMaxVisibleItems(15);
    m_pick->setCompleter(m_picker);
    connect(m_picker, qOverload<const QModelIndex &>(&QCompleter::activated), this,
            &ExamineePane::pickExaminee);
    find->addWidget(new QLabel(tr("选择考生："), this));
    find->addWidget(m_pick, 2);
    m_examNumber = new QLineEdit(this);
    m_examNumber->setObjectName(QStringLiteral("TxtExamNumber"));
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("TxtName"));
    auto *go = new QPushButton(tr("查找"), this);
    go->setObjectName(QStringLiteral("CmdFindExaminee"));
    connect(go, &QPushButton::clicked, this, &ExamineePane::findTypedExaminee);
    connect(m_name, &QLineEdit::returnPressed, this, &ExamineePane::findTypedExaminee);
    find->addWidget(new QLabel(tr("考号："), this));
    find->addWidget(m_examNumber);
    find->addWidget(new QLabel(tr("姓名："), this));
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

void ExamineePane::refresh()
{
    m_knownRead = false;
    if (isVisible())
        readKnown();
}

void ExamineePane::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_knownRead)
        readKnown();
}

void ExamineePane::readKnown()
{
    m_knownRead = true;
    m_history.examinees(
            this, [this](const ArchiveRead<QVector<KnownExaminee>> &known) { showKnown(known); });
}

void ExamineePane::showKnown(const ArchiveRead<QVector<KnownExaminee>> &known)
{
    if (!known.value) {
        emit told(known.problem);
        return;
    }
    m_known->clear();
    for (const KnownExaminee &examinee : *known.value) {
        auto *item = new QStandardItem(
                tr("%1 %2（%3）").arg(examinee.examNumber, examinee.name, examinee.department));
        item->setData(QStringList { examinee.examNumber, examinee.name }, Qt::UserRole);
        m_known->appendRow(item);
    }
}

void ExamineePane::pickExaminee(const QModelIndex &picked)
{
    const QStringList who = picked.data(Qt::UserRole).toStringList();
    if (who.size() != 2)
        return;
    m_examNumber->setText(who[0]);
    m_name->setText(who[1]);
    findExaminee(who[0], who[1]);
}

void ExamineePane::findTypedExaminee()
{
    findExaminee(m_examNumber->text(), m_name->text());
}

void ExamineePane::findExaminee(const QString &examNumber, const QString &name)
{
    m_historyRows->clear();
    m_historyRows->setHorizontalHeaderLabels(
            { tr("日期"), tr("文章"), tr("速度（字/分钟）"), tr("正确率（%）"), tr("等级") });
    m_history.history(examNumber, name, this,
                      [this, examNumber, name](const ArchiveRead<QVector<HistoryPoint>> &history) {
                          showHistory(examNumber, name, history);
                      });
}

void ExamineePane::showHistory(const QString &examNumber, const QString &name,
                               const ArchiveRead<QVector<HistoryPoint>> &history)
{
    if (!history.value) {
        emit told(history.problem);
        return;
    }
    m_shownExaminee.clear();
    if (history.value->isEmpty()) {
        m_trend->setChart(new QChart());
        emit told(tr("考试存档中没有考号为“%1”、姓名为“%2”的考生。")
                          .arg(examNumber.trimmed(), name.trimmed()));
        return;
    }
    for (const HistoryPoint &point : *history.value) {
        QList<QStandardItem *> cells;
        for (const QVariant &value :
             { QVariant(point.when.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"))),
               QVariant(point.articleName), QVariant(numbers::speedText(point.speed)),
               QVariant(numbers::speedText(point.accuracy)), QVariant(point.grade) }) {
            auto *item = new QStandardItem();
            item->setData(value, Qt::DisplayRole);
            cells << item;
        }
        m_historyRows->appendRow(cells);
    }
    m_shownExaminee = QStringLiteral("%1 %2").arg(examNumber.trimmed(), name.trimmed());
    m_trend->setChart(examcharts::examineeTrend(*history.value, name.trimmed()));
}

QString ExamineePane::saveTrend(const QString &path) const
{
    if (!m_trend->grab().save(path))
        return tr("无法保存图表 %1").arg(QDir::toNativeSeparators(path));
    return {};
}
