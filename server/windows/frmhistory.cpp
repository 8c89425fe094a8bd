// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/frmhistory.h"

#include "report/examreport.h"
#include "report/termreport.h"
#include "windows/frmgradeexam.h"
#include "windows/termreportrun.h"

#include "stats/examlistmodel.h"
#include "stats/statisticspage.h"

#include "messages.h"

#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTableView>
#include <QTextBrowser>

#include <algorithm>
#include <QVBoxLayout>

namespace {

constexpr int kListPoints = 11;

QPushButton *commandButton(QWidget *parent, const char *name, const QString &caption)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    return button;
}

QString examTitle(const ArchivedExam &exam)
{
    if (exam.id == 0)
        return QStringLiteral("当前考试《%1》").arg(exam.sitting.articleName);
    return QStringLiteral("%1 的考试《%2》（%3人）")
            .arg(exam.sitting.heldAt().toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm")),
                 exam.sitting.articleName)
            // Those who logged in; the absentees are counted on the page.
            .arg(std::count_if(exam.rows.begin(), exam.rows.end(),
                               [](const ArchivedRow &row) { return !row.absent(); }));
}

}  // namespace

FrmHistory::FrmHistory(console::HistoryController &history, const ConsoleHooks &hooks,
                       Messages *messages, QWidget *parent)
    : QWidget(parent, Qt::Window), m_history(history), m_hooks(hooks), m_messages(messages)
{
    setObjectName(QStringLiteral("FrmHistory"));
    setWindowTitle(QStringLiteral("历次考试"));
    QFont font = this->font();
    font.setPointSize(kListPoints);
    setFont(font);

    auto *layout = new QVBoxLayout(this);
    auto *top = new QHBoxLayout();
    m_filters = new ExamFilterBar(this);
    top->addWidget(m_filters, 1);
    QPushButton *backup = commandButton(this, "CmdBackup", QStringLiteral("备份存档"));
    connect(backup, &QPushButton::clicked, this, &FrmHistory::backUp);
    top->addWidget(backup);
    QPushButton *term = commandButton(this, "CmdTermReport", QStringLiteral("学期报告"));
    term->setToolTip(QStringLiteral("把列表中的考试（可先按日期、文章、班级或学期筛选）汇总成一个"
                                    "Excel工作簿；选了班级时只含这个班的考生"));
    connect(term, &QPushButton::clicked, this, &FrmHistory::writeTermReport);
    top->addWidget(term);
    QPushButton *gradeTerm =
            commandButton(this, "CmdGradeTermReport", QStringLiteral("年级学期报告"));
    gradeTerm->setToolTip(QStringLiteral("选一个学期和几个班（可跨机房、跨教师），生成一个"
                                         "Excel工作簿：每班一个工作表，另有年级汇总和图表"));
    connect(gradeTerm, &QPushButton::clicked, this, &FrmHistory::writeGradeTermReport);
    top->addWidget(gradeTerm);
    layout->addLayout(top);
    m_note = new QLabel(this);
    m_note->setObjectName(QStringLiteral("LblListNote"));
    m_note->setWordWrap(true);
    m_note->hide();
    layout->addWidget(m_note);

    auto *splitter = new QSplitter(Qt::Horizontal, this);
    m_exams = new ExamListModel(this);
    connect(m_filters, &ExamFilterBar::changed, this, &FrmHistory::listExams);
    m_examList = new QTableView(splitter);
    m_examList->setObjectName(QStringLiteral("GridExams"));
    m_examList->setModel(m_exams);
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
    splitter->setSizes({ 620, 900 });
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

    m_charts = new ExamChartsPane(m_tabs);
    m_tabs->addTab(m_charts, QStringLiteral("图表"));

    m_ranking = new RankingPane(m_tabs);
    connect(m_ranking, &RankingPane::examineeChosen, this, &FrmHistory::showRankedExaminee);
    m_tabs->addTab(m_ranking, QStringLiteral("排名"));
    m_examinee = new ExamineePane(m_history, m_tabs);
    connect(m_examinee, &ExamineePane::told, this, &FrmHistory::tell);
    m_tabs->addTab(m_examinee, QStringLiteral("考生"));
    layout->addWidget(m_tabs, 1);

    auto *buttons = new QHBoxLayout();
    const std::pair<QPushButton *, void (FrmHistory::*)()> commands[] = {
        { commandButton(pane, "CmdSaveCharts", QStringLiteral("保存图表")),
          &FrmHistory::saveCharts },
        { commandButton(pane, "CmdExportAgain", QStringLiteral("导出到Excel表格")),
          &FrmHistory::exportAgain },
        { commandButton(pane, "CmdPdfReport", QStringLiteral("PDF报告")),
          &FrmHistory::writePdfReport },
        { commandButton(pane, "CmdGradeExam", QStringLiteral("年级汇总")),
          &FrmHistory::showGradeExam },
        { commandButton(pane, "CmdRegrade", QStringLiteral("按现在的评分标准重新评分")),
          &FrmHistory::regrade },
        { m_deleteExam = commandButton(pane, "CmdDeleteExam", QStringLiteral("删除这场考试")),
          &FrmHistory::deleteExam },
    };
    for (const auto &[button, slot] : commands) {
        connect(button, &QPushButton::clicked, this, slot);
        buttons->addWidget(button);
    }
    buttons->addStretch(1);
    layout->addLayout(buttons);
}

void FrmHistory::refresh()
{
    m_away = m_history.openArchiveShown();
    const bool school = m_history.showsSchool();
    const auto choices = m_history.filterChoices();
    if (!choices.value)
        tell(choices.problem);
    m_filters->setChoices(choices.value.value_or(ExamFilterChoices()), school);
    m_exams->setOwnLab(school ? m_history.lab() : QString());
    m_examList->setColumnHidden(ExamListModel::Lab, !school);
    m_examList->setColumnHidden(ExamListModel::Teacher, !school);
    m_examinee->refresh();
    listExams();
}

void FrmHistory::listExams()
{
    const qint64 before = shownId();
    const ArchiveRead<ArchivedExam> current = m_history.currentExam();
    std::optional<ExamSummary> live;
    if (current.value && !current.value->rows.isEmpty())
        live = summaryOf(*current.value);
    const auto kept = m_history.exams(m_filters->filter());
    if (!kept.value)
        tell(kept.problem);
    m_exams->setExams(live, kept.value ? kept.value->exams : QVector<ExamSummary>());
    QStringList notes;
    if (!m_away.isEmpty())
        notes.append(QStringLiteral("学校存档现在无法打开，列出的是本机的考试：") + m_away);
    if (kept.value && kept.value->more)
        notes.append(QStringLiteral("只列出最近的%1场考试，请用上面的条件缩小范围。")
                             .arg(ExamListing::kMostListed));
    m_note->setText(notes.join(u'\n'));
    m_note->setVisible(!notes.isEmpty());
    int row = 0;
    for (int i = 0; i < m_exams->rowCount(); ++i) {
        if (m_exams->idAt(i) == before)
            row = i;
    }
    if (m_exams->rowCount() > 0)
        m_examList->selectRow(row);
    else
        showExam(-1);
}

void FrmHistory::followCurrentExam()
{
    if (!isVisible())
        return;
    const ArchiveRead<ArchivedExam> current = m_history.currentExam();
    const bool listed = current.value && !current.value->rows.isEmpty();
    // The exam under way appearing or going changes the list's rows.
    if (listed != m_exams->hasCurrent()) {
        refresh();
        return;
    }
    if (listed)
        m_exams->setCurrent(summaryOf(*current.value));
    if (shownId() == 0)
        showExam(0);
}

void FrmHistory::showChosenExam()
{
    const QModelIndex index = m_examList->currentIndex();
    showExam(index.isValid() ? m_exams->idAt(index.row()) : -1);
}

void FrmHistory::showExam(qint64 id)
{
    m_shown.reset();
    if (id == 0) {
        const ArchiveRead<ArchivedExam> current = m_history.currentExam();
        m_shown = current.value;
        if (m_shown)
            m_shown->id = 0;
    } else if (id > 0) {
        const ArchiveRead<ArchivedExam> kept = m_history.exam(id);
        if (!kept.value)
            tell(kept.problem);
        m_shown = kept.value;
    }
    showStatistics();
    showRanking();
    // Another lab's exam in the school archive is that lab's to delete.
    const QString refused = m_shown ? m_history.removalRefused(m_shown->sitting) : QString();
    m_deleteExam->setEnabled(refused.isEmpty());
    m_deleteExam->setToolTip(refused);
}

void FrmHistory::showStatistics()
{
    if (m_shown)
        m_statistics->setHtml(statisticsPage(*m_shown, examTitle(*m_shown)));
    else
        m_statistics->clear();
    m_charts->showExam(m_shown ? &*m_shown : nullptr);
}

void FrmHistory::showRanking()
{
    m_ranking->showExam(m_shown ? &*m_shown : nullptr);
}

void FrmHistory::showRankedExaminee(const QString &examNumber, const QString &name)
{
    m_tabs->setCurrentWidget(m_examinee);
    m_examinee->findExaminee(examNumber, name);
}

void FrmHistory::saveCharts()
{
    // What is in front: the examinee's trend on the 考生 tab, else the exam's charts.
    if (m_tabs->currentWidget() == m_examinee)
        saveTrend();
    else
        saveExamCharts();
}

void FrmHistory::saveTrend()
{
    const QString who = m_examinee->shownExaminee();
    if (who.isEmpty()) {
        tell(QStringLiteral("请先选择一位考生。"));
        return;
    }
    const QString chosen = chooseSaveFile(QStringLiteral("%1 成绩变化.png").arg(who),
                                          QStringLiteral("PNG 图片 (*.png)"));
    if (chosen.isEmpty())
        return;
    const QString problem = m_examinee->saveTrend(chosen);
    tell(problem.isEmpty()
                 ? QStringLiteral("图表已保存为\n%1").arg(QDir::toNativeSeparators(chosen))
                 : problem);
}

void FrmHistory::saveExamCharts()
{
    if (!m_shown)
        return;
    const QString chosen =
            chooseSaveFile(QStringLiteral("考试图表.png"), QStringLiteral("PNG 图片 (*.png)"));
    if (chosen.isEmpty())
        return;
    if (const QString problem = m_charts->saveAs(chosen); !problem.isEmpty()) {
        tell(problem);
        return;
    }
    const QStringList paths = ExamChartsPane::picturePaths(chosen);
    tell(QStringLiteral("图表已保存为\n%1\n%2")
                 .arg(QDir::toNativeSeparators(paths[0]), QDir::toNativeSeparators(paths[1])));
}

void FrmHistory::exportAgain()
{
    if (!m_shown)
        return;
    const WorkbookExport exported = m_history.exportKeptExam(*m_shown);
    tell(exported.problem.isEmpty() ? exported.message : exported.problem);
}

void FrmHistory::regrade()
{
    if (!m_shown || m_shown->id <= 0)
        return;
    if (!m_messages->confirm(
                this, QStringLiteral("用现在的评分标准重新评定%1吗？").arg(examTitle(*m_shown))))
        return;
    tell(m_history.regrade(m_shown->id));
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
    tell(m_history.remove(m_shown->id));
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
    const QString problem = m_history.backUpTo(chosen);
    tell(problem.isEmpty()
                 ? QStringLiteral("考试存档已备份到 %1").arg(QDir::toNativeSeparators(chosen))
                 : problem);
}

QVector<qint64> FrmHistory::listedExamIds() const
{
    QVector<qint64> ids;
    for (const ExamSummary &exam : m_exams->kept())
        ids.prepend(exam.id);
    return ids;
}

void FrmHistory::writePdfReport()
{
    if (!m_shown)
        return;
    const QString chosen = chooseSaveFile(examreport::defaultFileName(*m_shown),
                                          QStringLiteral("PDF 文件 (*.pdf)"));
    if (chosen.isEmpty())
        return;
    const QString problem = examreport::writePdf(*m_shown, chosen);
    tell(problem.isEmpty() ? QStringLiteral("报告已保存为 %1").arg(QDir::toNativeSeparators(chosen))
                           : problem);
}

void FrmHistory::showGradeExam()
{
    if (!m_shown || m_shown->id <= 0) {
        tell(QStringLiteral("请先在列表中选一场存档的考试。"));
        return;
    }
    ArchiveRead<GradeWideExam> grade = m_history.gradeExam(m_shown->id);
    if (!grade.value) {
        tell(grade.problem);
        return;
    }
    if (!grade.value->isGradeWide()) {
        tell(QStringLiteral("同一个上午（或下午）没有别的考试用同一篇文章、同样的考试时间，"
                            "这场考试不是年级统考。"));
        return;
    }
    auto *view = new FrmGradeExam(std::move(*grade.value), m_hooks, m_messages, this);
    view->setAttribute(Qt::WA_DeleteOnClose);
    view->show();
}

void FrmHistory::writeTermReport()
{
    const QVector<qint64> ids = listedExamIds();
    if (ids.isEmpty()) {
        tell(QStringLiteral("列表中没有存档的考试。"));
        return;
    }
    // Named by the days of the first and last exam listed, newest first.
    const QVector<ExamSummary> listed = m_exams->kept();
    const QString chosen =
            chooseSaveFile(termreport::defaultFileName(listed.last().when, listed.first().when),
                           QStringLiteral("Excel 工作簿 (*.xlsx)"));
    if (chosen.isEmpty())
        return;
    tell(termreportrun::run(this, m_history, ids, m_filters->filter().department, chosen));
}

void FrmHistory::writeGradeTermReport()
{
    tell(termreportrun::pickAndRunGrade(this, m_history, [this](const QString &suggestedName) {
        return chooseSaveFile(suggestedName, QStringLiteral("Excel 工作簿 (*.xlsx)"));
    }));
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
