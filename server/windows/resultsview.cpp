// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/resultsview.h"

#include "class/classtablemodel.h"
#include "collect/resultcore.h"
#include "windows/classiccontrols.h"
#include "windows/twips.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QProxyStyle>
#include <QPushButton>
#include <QStyleFactory>
#include <QStyledItemDelegate>
#include <QTableView>

namespace {

// In twips, in the window: the grid's frame and the counts frame below it.
const QRect kGridFrame(240, 800, 9615, 6000);
const QRect kCountsFrame(240, 6840, 9615, 615);
// The grid within its frame: its left and top edge, and how much narrower
// and lower it is than the frame.
constexpr int kGridLeft = 30;
constexpr int kGridTop = 120;
constexpr int kGridNarrower = 120;
constexpr int kGridLower = 180;
constexpr int kRowHeight = 270;
constexpr int kProgressWidth = 1050;
const QRect kExportButton(7080, 220, 2295, 300);
// Between the counts and the export button.
constexpr int kCountsGap = 60;

constexpr qreal kGridPoints = 9;
constexpr qreal kCountPoints = 12;
constexpr qreal kLiveCountPoints = 10.5;
constexpr int kHeaderMargin = 1;
// In pixels: the bar keeps clear of the cell's edges.
constexpr int kBarInset = 2;
const QColor kBarColour(0x9c, 0xc8, 0xf2);

// The application's style with one-pixel margins in header sections.
class TightHeaderStyle : public QProxyStyle
{
public:
    TightHeaderStyle() : QProxyStyle(QStyleFactory::create(QApplication::style()->name())) { }

    int pixelMetric(PixelMetric metric, const QStyleOption *option,
                    const QWidget *widget) const override
    {
        if (metric == PM_HeaderMargin)
            return kHeaderMargin;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

// The progress column as a bar with the percentage on it. Plain fills: the
// style's own progress bar costs several times as much to paint, and the
// grid repaints every few seconds.
class ProgressDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override
    {
        const QVariant progress = index.data(ClassTableModel::ProgressRole);
        if (!progress.isValid()) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        const QRect frame =
                option.rect.adjusted(kBarInset, kBarInset, -kBarInset - 1, -kBarInset - 1);
        const QPalette &palette = option.palette;
        painter->save();
        if (option.state & QStyle::State_Selected)
            painter->fillRect(option.rect, palette.highlight());
        painter->fillRect(frame, palette.base());
        QRect filled = frame;
        filled.setWidth(qRound(frame.width() * progress.toDouble()));
        painter->fillRect(filled, kBarColour);
        painter->setPen(palette.color(QPalette::Mid));
        painter->drawRect(frame);
        painter->setPen(palette.color(QPalette::Text));
        painter->drawText(frame, Qt::AlignCenter, index.data().toString());
        painter->restore();
    }
};

QRect pixels(const QRect &inTwips)
{
    return twips::rect(inTwips.x(), inTwips.y(), inTwips.width(), inTwips.height());
}

}  // namespace

ResultsView::ResultsView(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("resultsView"));
    buildGrid();
    buildCountsLine();
    place(QSize());
}

void ResultsView::buildGrid()
{
    m_gridFrame = classic::frame(this, "FrameCJ");
    m_grid = new QTableView(m_gridFrame);
    m_grid->setObjectName(QStringLiteral("DataGrid1"));
    m_grid->setFont(classic::simSun(kGridPoints));
    m_grid->horizontalHeader()->setFont(classic::simSun(kGridPoints));
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    QHeaderView *rowHeader = m_grid->verticalHeader();
    rowHeader->setDefaultSectionSize(twips::px(kRowHeight));
    rowHeader->setFixedWidth(twips::px(kRowHeight));
    rowHeader->setSectionResizeMode(QHeaderView::Fixed);
    rowHeader->setDefaultAlignment(Qt::AlignCenter);

    m_model = new ClassTableModel(this);
    m_grid->setModel(m_model);
    // Commands on one row are in its context menu.
    m_grid->setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(m_grid, &QTableView::doubleClicked, this, &ResultsView::requestAnswerSheet);
    auto *answerSheet = new QAction(tr("查看答卷"), m_grid);
    answerSheet->setObjectName(QStringLiteral("MnuAnswerSheet"));
    connect(answerSheet, &QAction::triggered, this,
            [this] { requestAnswerSheet(m_grid->currentIndex()); });
    m_grid->addAction(answerSheet);
    auto *retake = new QAction(tr("重考"), m_grid);
    retake->setObjectName(QStringLiteral("actRetake"));
    m_grid->addAction(retake);
    connect(retake, &QAction::triggered, this, &ResultsView::requestRetake);
    m_grid->setItemDelegateForColumn(ClassTableModel::Progress, new ProgressDelegate(m_grid));
    // The state and the progress are what the examiner watches during the
    // exam: they stand right after the name. Widths in twips.
    const std::pair<ClassTableModel::Column, int> columns[] = {
        { ClassTableModel::Department, 1920 },
        { ClassTableModel::ExamNumber, 1710 },
        { ClassTableModel::Name, 1425 },
        { ClassTableModel::State, 675 },
        { ClassTableModel::Progress, kProgressWidth },
        { ClassTableModel::Speed, 1725 },
        { ClassTableModel::Accuracy, 1080 },
        { ClassTableModel::Grade, 675 },
        { ClassTableModel::Score, 555 },
        { ClassTableModel::TimePass, 1335 },
        { ClassTableModel::RecNo, 735 },
    };
    QHeaderView *header = m_grid->horizontalHeader();
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // The captions just fit their columns; the style's wide margins would
    // cut off the last sign.
    auto *tightStyle = new TightHeaderStyle();
    tightStyle->setParent(header);
    header->setStyle(tightStyle);
    for (int visual = 0; visual < int(std::size(columns)); ++visual) {
        const auto [logical, width] = columns[visual];
        header->moveSection(header->visualIndex(logical), visual);
        m_grid->setColumnWidth(logical, twips::px(width));
    }
    // The Chinese state words fit the classic column; a translation's
    // longer words widen it rather than end in an ellipsis.
    const QFontMetrics metrics(m_grid->font());
    // Item views leave this much beside a cell's text on either side.
    const int textMargin =
            m_grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, m_grid) + 1;
    int stateWidth = m_grid->columnWidth(ClassTableModel::State);
    for (const ExamineeState state : kExamineeStates) {
        for (const bool doubtful : { false, true })
            stateWidth = std::max(stateWidth,
                                  metrics.horizontalAdvance(shownState(stateText(state), doubtful))
                                          + 2 * textMargin);
    }
    m_grid->setColumnWidth(ClassTableModel::State, stateWidth);
}

void ResultsView::requestRetake()
{
    const QModelIndex current = m_grid->currentIndex();
    if (current.isValid())
        emit retakeRequested(current.row());
}

void ResultsView::requestAnswerSheet(const QModelIndex &index)
{
    // A listed examinee who has not logged in has no recno, and no sheet.
    bool numbered = false;
    const qint32 recNo =
            m_model->index(index.row(), ClassTableModel::RecNo).data().toInt(&numbered);
    if (index.isValid() && numbered)
        emit answerSheetRequested(recNo);
}

void ResultsView::buildCountsLine()
{
    m_countsFrame = classic::frame(this, "FrameCJ1");
    const QFont countFont = classic::simSun(kCountPoints);
    classic::label(m_countsFrame, "Label1", tr("已登录人数："), twips::rect(120, 240, 1500, 255),
                   countFont);
    m_loggedInCount = classic::label(m_countsFrame, "LblRenShu", QString(),
                                     twips::rect(1560, 240, 855, 255), countFont);
    classic::paintCounter(m_loggedInCount, QPalette::ButtonText);
    classic::label(m_countsFrame, "Label2", tr("人"), twips::rect(2520, 240, 300, 255), countFont);
    m_liveCounts =
            classic::label(m_countsFrame, "LblLiveCounts", QString(),
                           twips::rect(2820, 240, 4200, 255), classic::simSun(kLiveCountPoints));
    m_exportButton = classic::button(m_countsFrame, "CmdOutToExl", tr("成绩导出到Excel表格"),
                                     pixels(kExportButton));
    m_exportButton->setToolTip(tr("把成绩表导出为Excel工作簿（.xlsx），"
                                  "保存在文档中的“成绩导出”文件夹并打开"));
    connect(m_exportButton, &QPushButton::clicked, this, &ResultsView::exportRequested);
}

void ResultsView::place(const QSize &grown)
{
    const int wider = grown.width();
    const int taller = grown.height();
    // The view starts where the grid's frame does; its frames are placed
    // within it where the window had them.
    const QPoint origin = pixels(kGridFrame).topLeft();
    const int width = twips::px(kGridFrame.width()) + wider;
    const int countsTop = twips::px(kCountsFrame.y()) + taller - origin.y();
    const int countsHeight = twips::px(kCountsFrame.height());
    setGeometry(origin.x(), origin.y(), width, countsTop + countsHeight);
    m_gridFrame->setGeometry(0, 0, width, twips::px(kGridFrame.height()) + taller);
    m_grid->setGeometry(twips::px(kGridLeft), twips::px(kGridTop),
                        m_gridFrame->width() - twips::px(kGridNarrower),
                        m_gridFrame->height() - twips::px(kGridLower));
    m_countsFrame->setGeometry(0, countsTop, width, countsHeight);
    // The progress bars take the room a larger window gives.
    m_grid->setColumnWidth(ClassTableModel::Progress, twips::px(kProgressWidth) + wider / 2);
    m_exportButton->move(twips::px(kExportButton.x()) + wider, m_exportButton->y());
    // The counts reach to the export button: a wider window shows more of them.
    m_liveCounts->resize(m_exportButton->x() - m_liveCounts->x() - twips::px(kCountsGap),
                         m_liveCounts->height());
    fitLiveCounts();
}

void ResultsView::showRows(const QVector<ClassViewRow> &rows)
{
    m_model->setRows(rows);
}

void ResultsView::showScale(const GradingScale &scale)
{
    m_model->setScale(scale);
}

void ResultsView::showCounts(std::optional<int> results, const ClassCounts &counts, bool withRoster,
                             const QString &note, const QString &detail)
{
    m_loggedInCount->setText(results ? QString::number(*results) : QString());
    QString text = tr("· 答题中 %1 · 已交卷 %2").arg(counts.typing).arg(counts.finished);
    // With a class list, the listed who logged in and have not started and
    // those not logged in, as the exam's statistics will count them.
    if (withRoster)
        text += tr(" · 未开始 %1 · 未登录 %2")
                        .arg(counts.people.notStarted)
                        .arg(counts.people.absent);
    if (!note.isEmpty())
        text += QStringLiteral(" · ") + note;
    setLiveCounts(text, detail);
    m_liveCounts->setStyleSheet(QString());
}

void ResultsView::showCollectionFailure(const QString &problem)
{
    setLiveCounts(tr("· 自动获取成绩失败"), problem);
    m_liveCounts->setStyleSheet(QStringLiteral("color: #C00000;"));
}

void ResultsView::setLiveCounts(const QString &text, const QString &detail)
{
    m_liveCountsText = text;
    m_liveCountsDetail = detail;
    fitLiveCounts();
}

void ResultsView::fitLiveCounts()
{
    const QString shown = m_liveCounts->fontMetrics().elidedText(m_liveCountsText, Qt::ElideRight,
                                                                 m_liveCounts->width());
    m_liveCounts->setText(shown);
    QStringList tip;
    if (shown != m_liveCountsText)
        tip.append(m_liveCountsText);
    if (!m_liveCountsDetail.isEmpty())
        tip.append(m_liveCountsDetail);
    m_liveCounts->setToolTip(tip.join(u'\n'));
}
