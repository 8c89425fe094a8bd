// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/frmhistory.h"

#include "report/examcharts.h"
#include "report/examreport.h"
#include "report/termreport.h"

#include "stats/examlistmodel.h"
#include "stats/examstatistics.h"
#include "stats/examsummary.h"

#include "messages.h"

#include <QChartView>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSplitter>
#include <QStandardItemModel>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTableView>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace {

constexpr int kListPoints = 11;

QPushButton *commandButton(QWidget *parent, const char *name, const QString &caption)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    return button;
}

QString figureCells(const Figures &figures)
{
    const auto cell = [](double value) {
        return QStringLiteral("<td align=right>%1</td>").arg(value, 0, 'f', 2);
    };
    return QStringLiteral("<td align=right>%1</td>").arg(figures.count) + cell(figures.mean)
            + cell(figures.median) + cell(figures.highest) + cell(figures.lowest)
            + cell(figures.deviation);
}

QString statisticsTable(const QVector<ExamStatistics> &parts)
{
    QString html = QStringLiteral(
            "<table border=1 cellspacing=0 cellpadding=4><tr><th>部门</th><th></th><th>人数</th>"
            "<th>平均</th><th>中位数</th><th>最高</th><th>最低</th><th>标准差</th>"
            "<th>等级分布</th><th>及格率</th></tr>");
    for (const ExamStatistics &part : parts) {
        const QString name = part.partName().toHtmlEscaped();
        html += QStringLiteral("<tr><td rowspan=2>%1</td><td>速度</td>%2"
                               "<td rowspan=2>%3</td><td rowspan=2 align=right>%4%</td></tr>"
                               "<tr><td>正确率</td>%5</tr>")
                        .arg(name, figureCells(part.speed),
                             part.gradeShares(QStringLiteral("<br>")))
                        .arg(part.passRate * 100, 0, 'f', 1)
                        .arg(figureCells(part.accuracy));
    }
    return html + QStringLiteral("</table>");
}

QString examTitle(const ArchivedExam &exam)
{
    if (exam.id == 0)
        return QStringLiteral("当前考试《%1》").arg(exam.sitting.articleName);
    const QDateTime when = exam.sitting.heldAt();
    return QStringLiteral("%1 的考试《%2》（%3人）")
            .arg(when.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm")),
                 exam.sitting.articleName)
            .arg(exam.rows.size());
}

}  // namespace

FrmHistory::FrmHistory(console::ConsoleController &controller, const ConsoleHooks &hooks,
                       Messages *messages, QWidget *parent)
    : QWidget(parent, Qt::Window), m_controller(controller), m_hooks(hooks), m_messages(messages)
{
    setObjectName(QStringLiteral("FrmHistory"));
    setWindowTitle(QStringLiteral("历次考试"));
    QFont font = this->font();
    font.setPointSize(kListPoints);
    setFont(font);

    auto *layout = new QVBoxLayout(this);
    auto *top = new QHBoxLayout();
    m_search = new QLineEdit(this);
    m_search->setObjectName(QStringLiteral("TxtSearch"));
    m_search->setPlaceholderText(QStringLiteral("按文章或日期查找，如 春晓 或 2026-03"));
    m_search->setClearButtonEnabled(true);
    top->addWidget(new QLabel(QStringLiteral("查找："), this));
    top->addWidget(m_search, 1);
    m_class = new QComboBox(this);
    m_class->setObjectName(QStringLiteral("CmbClass"));
    m_class->setMinimumContentsLength(10);
    top->addWidget(new QLabel(QStringLiteral("班级："), this));
    top->addWidget(m_class);
    QPushButton *backup = commandButton(this, "CmdBackup", QStringLiteral("备份存档"));
    connect(backup, &QPushButton::clicked, this, &FrmHistory::backUp);
    top->addWidget(backup);
    QPushButton *term = commandButton(this, "CmdTermReport", QStringLiteral("学期报告"));
    term->setToolTip(QStringLiteral("把列表中的考试（可先按日期、文章或班级筛选）汇总成一个Excel工"
                                    "作簿；选了班级时只含这个班的考生"));
    connect(term, &QPushButton::clicked, this, &FrmHistory::writeTermReport);
    top->addWidget(term);
    layout->addLayout(top);

    auto *splitter = new QSplitter(Qt::Horizontal, this);
    m_exams = new ExamListModel(this);
    m_filter = new ExamListFilter(this);
    m_filter->setSourceModel(m_exams);
    m_filter->setFilterKeyColumn(-1);
    m_filter->setFilterCaseSensitivity(Qt::CaseInsensitive);
    connect(m_search, &QLineEdit::textChanged, m_filter,
            &QSortFilterProxyModel::setFilterFixedString);
    connect(m_class, &QComboBox::currentIndexChanged, this, &FrmHistory::chooseClass);
    m_examList = new QTableView(splitter);
    m_examList->setObjectName(QStringLiteral("GridExams"));
    m_examList->setModel(m_filter);
    m_examList->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_examList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_examList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_examList->verticalHeader()->hide();
    m_examList->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    connect(m_examList->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &FrmHistory::showChosenExam);

    auto *pane = new QWidget(splitter);
    buildExamPane(pane);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({ 520, 1000 });
    layout->addWidget(splitter, 1);
    resize(1280, 800);
}

void FrmHistory::buildExamPane(QWidget *pane)
{
    auto *layout = new QVBoxLayout(pane);
    layout->setContentsMargins(0, 0, 0, 0);
    m_tabs = new QTabWidget(pane);
    m_statistics = new QTextBrowser(m_tabs);
    m_statistics->setObjectName(QStringLiteral("TxtStatistics"));
    m_tabs->addTab(m_statistics, QStringLiteral("统计"));

    auto *charts = new QWidget(m_tabs);
    auto *chartLayout = new QHBoxLayout(charts);
    m_histogram = new QChartView(charts);
    m_histogram->setObjectName(QStringLiteral("ChartHistogram"));
    m_histogram->setRenderHint(QPainter::Antialiasing);
    m_scatter = new QChartView(charts);
    m_scatter->setObjectName(QStringLiteral("ChartScatter"));
    m_scatter->setRenderHint(QPainter::Antialiasing);
    chartLayout->addWidget(m_histogram);
    chartLayout->addWidget(m_scatter);
    m_tabs->addTab(charts, QStringLiteral("图表"));

    m_rankingRows = new QStandardItemModel(this);
    m_ranking = new QTableView(m_tabs);
    m_ranking->setObjectName(QStringLiteral("GridRanking"));
    m_ranking->setModel(m_rankingRows);
    m_ranking->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_ranking->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_tabs->addTab(m_ranking, QStringLiteral("排名"));
    m_tabs->addTab(buildExamineePane(), QStringLiteral("考生"));
    layout->addWidget(m_tabs, 1);

    auto *buttons = new QHBoxLayout();
    const std::pair<QPushButton *, void (FrmHistory::*)()> commands[] = {
        { commandButton(pane, "CmdSaveCharts", QStringLiteral("保存图表")),
          &FrmHistory::saveCharts },
        { commandButton(pane, "CmdExportAgain", QStringLiteral("导出到Excel表格")),
          &FrmHistory::exportAgain },
        { commandButton(pane, "CmdPdfReport", QStringLiteral("PDF报告")),
          &FrmHistory::writePdfReport },
        { commandButton(pane, "CmdRegrade", QStringLiteral("按现在的评分标准重新评分")),
          &FrmHistory::regrade },
        { commandButton(pane, "CmdDeleteExam", QStringLiteral("删除这场考试")),
          &FrmHistory::deleteExam },
    };
    for (const auto &[button, slot] : commands) {
        connect(button, &QPushButton::clicked, this, slot);
        buttons->addWidget(button);
    }
    buttons->addStretch(1);
    layout->addLayout(buttons);
}

QWidget *FrmHistory::buildExamineePane()
{
    auto *pane = new QWidget(m_tabs);
    auto *layout = new QVBoxLayout(pane);
    auto *find = new QHBoxLayout();
    m_examNumber = new QLineEdit(pane);
    m_examNumber->setObjectName(QStringLiteral("TxtExamNumber"));
    m_name = new QLineEdit(pane);
    m_name->setObjectName(QStringLiteral("TxtName"));
    QPushButton *go = commandButton(pane, "CmdFindExaminee", QStringLiteral("查找"));
    connect(go, &QPushButton::clicked, this, &FrmHistory::findTypedExaminee);
    connect(m_name, &QLineEdit::returnPressed, this, &FrmHistory::findTypedExaminee);
    find->addWidget(new QLabel(QStringLiteral("考号："), pane));
    find->addWidget(m_examNumber);
    find->addWidget(new QLabel(QStringLiteral("姓名："), pane));
    find->addWidget(m_name);
    find->addWidget(go);
    find->addStretch(1);
    layout->addLayout(find);
    m_historyRows = new QStandardItemModel(pane);
    auto *rows = new QTableView(pane);
    rows->setObjectName(QStringLiteral("GridExamineeHistory"));
    rows->setModel(m_historyRows);
    rows->setEditTriggers(QAbstractItemView::NoEditTriggers);
    rows->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_trend = new QChartView(pane);
    m_trend->setObjectName(QStringLiteral("ChartTrend"));
    m_trend->setRenderHint(QPainter::Antialiasing);
    auto *split = new QSplitter(Qt::Vertical, pane);
    split->addWidget(rows);
    split->addWidget(m_trend);
    split->setStretchFactor(1, 2);
    layout->addWidget(split, 1);
    return pane;
}

void FrmHistory::refresh()
{
    const qint64 before = shownId();
    const ArchiveRead<ArchivedExam> current = m_controller.currentExam();
    std::optional<ExamSummary> live;
    if (current.value && !current.value->rows.isEmpty())
        live = summaryOf(*current.value);
    const auto kept = summariesOf(m_controller.archive().exams());
    if (!kept.value)
        tell(kept.problem);
    m_exams->setExams(live, kept.value.value_or(QVector<ExamSummary>()));
    // The classes of every listed exam; the one chosen stays chosen.
    const QString chosenClass = m_filter->department();
    {
        const QSignalBlocker quiet(m_class);
        m_class->clear();
        m_class->addItem(QStringLiteral("全部班级"), QString());
        for (const QString &department : m_exams->departments())
            m_class->addItem(department, department);
        m_class->setCurrentIndex(std::max(0, m_class->findData(chosenClass)));
    }
    m_filter->setDepartment(m_class->currentData().toString());
    int row = 0;
    for (int i = 0; i < m_exams->rowCount(); ++i) {
        if (m_exams->idAt(i) == before)
            row = i;
    }
    if (m_filter->rowCount() > 0)
        m_examList->selectRow(m_filter->mapFromSource(m_exams->index(row, 0)).row());
    else
        showExam(-1);
}

void FrmHistory::chooseClass()
{
    m_filter->setDepartment(m_class->currentData().toString());
}

void FrmHistory::showChosenExam()
{
    const QModelIndex index = m_filter->mapToSource(m_examList->currentIndex());
    showExam(index.isValid() ? m_exams->idAt(index.row()) : -1);
}

void FrmHistory::showExam(qint64 id)
{
    m_shown.reset();
    if (id == 0) {
        const ArchiveRead<ArchivedExam> current = m_controller.currentExam();
        m_shown = current.value;
        if (m_shown)
            m_shown->id = 0;
    } else if (id > 0) {
        const ArchiveRead<ArchivedExam> kept = m_controller.archive().exam(id);
        if (!kept.value)
            tell(kept.problem);
        m_shown = kept.value;
    }
    showStatistics();
    showRanking();
}

void FrmHistory::showStatistics()
{
    if (!m_shown) {
        m_statistics->clear();
        m_histogram->setChart(new QChart());
        m_scatter->setChart(new QChart());
        return;
    }
    const GradingScale &scale = m_shown->sitting.scale;
    QVector<ExamStatistics> parts { statisticsOf(m_shown->rows, scale) };
    parts += statisticsByDepartment(m_shown->rows, scale);
    QStringList grades;
    for (const Grade &grade : scale.grades())
        grades << QStringLiteral("%1：速度≥%2，正确率≥%3%，%4分")
                          .arg(grade.name)
                          .arg(grade.minSpeed)
                          .arg(grade.minAccuracy)
                          .arg(grade.score);
    m_statistics->setHtml(QStringLiteral("<h2>%1</h2>").arg(examTitle(*m_shown).toHtmlEscaped())
                          + statisticsTable(parts)
                          + QStringLiteral("<p>评分标准：%1</p>")
                                    .arg(grades.join(QStringLiteral("；")).toHtmlEscaped()));
    // The views own their charts and delete the ones they showed before.
    m_histogram->setChart(examcharts::speedHistogram(m_shown->rows, scale));
    m_scatter->setChart(examcharts::accuracyAgainstSpeed(m_shown->rows, scale));
}

void FrmHistory::showRanking()
{
    m_rankingRows->clear();
    m_rankingRows->setHorizontalHeaderLabels(
            { QStringLiteral("名次"), QStringLiteral("部门"), QStringLiteral("考号"),
              QStringLiteral("姓名"), QStringLiteral("速度（字/分钟）"),
              QStringLiteral("正确率（%）"), QStringLiteral("用时（秒）"), QStringLiteral("等级"),
              QStringLiteral("得分"), QStringLiteral("状态"), QStringLiteral("存疑") });
    if (!m_shown)
        return;
    const GradingScale &scale = m_shown->sitting.scale;
    int place = 0;
    for (const ArchivedRow &row : m_shown->rows) {
        const auto grade = scale.gradeOf(row);
        const auto score = scale.scoreOf(grade);
        QList<QStandardItem *> cells;
        for (const QVariant &value :
             { QVariant(++place), QVariant(row.department), QVariant(row.examNumber),
               QVariant(row.name), QVariant(row.speed), QVariant(row.accuracyLine),
               QVariant(row.timePass), QVariant(scale.nameOf(grade)),
               score ? QVariant(*score) : QVariant(), QVariant(row.state), QVariant(row.doubts) }) {
            auto *item = new QStandardItem();
            item->setData(value, Qt::DisplayRole);
            cells << item;
        }
        m_rankingRows->appendRow(cells);
    }
}

void FrmHistory::findTypedExaminee()
{
    findExaminee(m_examNumber->text(), m_name->text());
}

void FrmHistory::findExaminee(const QString &examNumber, const QString &name)
{
    m_historyRows->clear();
    m_historyRows->setHorizontalHeaderLabels(
            { QStringLiteral("日期"), QStringLiteral("文章"), QStringLiteral("速度（字/分钟）"),
              QStringLiteral("正确率（%）"), QStringLiteral("等级") });
    const auto history = historyOf(m_controller.archive().history(examNumber, name));
    if (!history.value) {
        tell(history.problem);
        return;
    }
    if (history.value->isEmpty()) {
        m_trend->setChart(new QChart());
        tell(QStringLiteral("考试存档中没有考号为“%1”、姓名为“%2”的考生。")
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

void FrmHistory::saveCharts()
{
    if (!m_shown)
        return;
    const QString chosen =
            chooseSaveFile(QStringLiteral("考试图表.png"), QStringLiteral("PNG 图片 (*.png)"));
    if (chosen.isEmpty())
        return;
    // Each chart in a picture of its own, named after the chosen file.
    const QString base = chosen.endsWith(QLatin1String(".png"), Qt::CaseInsensitive)
            ? chosen.left(chosen.size() - 4)
            : chosen;
    const QString histogramPath = base + QStringLiteral("-速度分布.png");
    const QString scatterPath = base + QStringLiteral("-正确率与速度.png");
    if (!m_histogram->grab().save(histogramPath) || !m_scatter->grab().save(scatterPath)) {
        tell(QStringLiteral("无法保存图表 %1").arg(QDir::toNativeSeparators(base)));
        return;
    }
    tell(QStringLiteral("图表已保存为\n%1\n%2")
                 .arg(QDir::toNativeSeparators(histogramPath),
                      QDir::toNativeSeparators(scatterPath)));
}

void FrmHistory::exportAgain()
{
    if (!m_shown)
        return;
    const console::ConsoleController::Export exported = m_controller.exportKeptExam(*m_shown);
    tell(exported.problem.isEmpty() ? exported.message : exported.problem);
}

void FrmHistory::regrade()
{
    if (!m_shown || m_shown->id <= 0)
        return;
    if (!m_messages->confirm(
                this, QStringLiteral("用现在的评分标准重新评定%1吗？").arg(examTitle(*m_shown))))
        return;
    tell(m_controller.archive().regrade(m_shown->id, m_controller.gradingScale()));
    refresh();
}

void FrmHistory::deleteExam()
{
    if (!m_shown || m_shown->id <= 0)
        return;
    if (!m_messages->confirm(this,
                             QStringLiteral("确定要从考试存档中删除%1吗？删除后无法恢复。")
                                     .arg(examTitle(*m_shown))))
        return;
    tell(m_controller.archive().remove(m_shown->id));
    m_shown.reset();
    refresh();
}

void FrmHistory::backUp()
{
    const QString chosen = chooseSaveFile(
            QStringLiteral("考试存档备份-%1.db")
                    .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"))),
            QStringLiteral("考试存档 (*.db)"));
    if (chosen.isEmpty())
        return;
    const QString problem = m_controller.archive().backUpTo(chosen);
    tell(problem.isEmpty()
                 ? QStringLiteral("考试存档已备份到 %1").arg(QDir::toNativeSeparators(chosen))
                 : problem);
}

QVector<qint64> FrmHistory::listedExamIds() const
{
    QVector<qint64> ids;
    for (int row = m_filter->rowCount() - 1; row >= 0; --row) {
        const qint64 id = m_exams->idAt(m_filter->mapToSource(m_filter->index(row, 0)).row());
        if (id > 0)
            ids.append(id);
    }
    return ids;
}

void FrmHistory::writePdfReport()
{
    if (!m_shown)
        return;
    const QString chosen =
            chooseSaveFile(QStringLiteral("考试报告.pdf"), QStringLiteral("PDF 文件 (*.pdf)"));
    if (chosen.isEmpty())
        return;
    const QString problem = examreport::writePdf(*m_shown, chosen);
    tell(problem.isEmpty() ? QStringLiteral("报告已保存为 %1").arg(QDir::toNativeSeparators(chosen))
                           : problem);
}

void FrmHistory::writeTermReport()
{
    const QVector<qint64> ids = listedExamIds();
    if (ids.isEmpty()) {
        tell(QStringLiteral("列表中没有存档的考试。"));
        return;
    }
    const QString chosen = chooseSaveFile(QStringLiteral("学期报告.xlsx"),
                                          QStringLiteral("Excel 工作簿 (*.xlsx)"));
    if (chosen.isEmpty())
        return;
    QProgressDialog progress(QStringLiteral("正在生成学期报告……"), QStringLiteral("取消"), 0,
                             int(ids.size()) * 2, this);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(300);
    // Reading the exams is half the work, writing them the other half.
    QVector<ArchivedExam> exams;
    for (const qint64 id : ids) {
        const ArchiveRead<ArchivedExam> exam = m_controller.archive().exam(id);
        if (!exam.value) {
            tell(exam.problem);
            return;
        }
        // A class chosen: its report holds its examinees only.
        exams.append(m_filter->department().isEmpty()
                             ? *exam.value
                             : onlyDepartment(*exam.value, m_filter->department()));
        progress.setValue(int(exams.size()));
        if (progress.wasCanceled())
            return;
    }
    const termreport::Outcome outcome = termreport::write(exams, chosen, [&](int done, int) {
        progress.setValue(int(ids.size()) + done);
        return !progress.wasCanceled();
    });
    progress.reset();
    if (outcome.cancelled)
        return;
    tell(outcome.problem.isEmpty() ? QStringLiteral("学期报告（%1场考试）已保存为 %2")
                                             .arg(ids.size())
                                             .arg(QDir::toNativeSeparators(chosen))
                                   : outcome.problem);
}

QString FrmHistory::chooseSaveFile(const QString &suggestedName, const QString &filter)
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return m_hooks.chooseSaveFile(this, QDir(documents).filePath(suggestedName), filter);
}

void FrmHistory::tell(const QString &text)
{
    if (!text.isEmpty())
        m_messages->inform(this, text);
}
