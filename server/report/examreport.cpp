// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/examreport.h"

#include "export/celltext.h"
#include "export/documentname.h"
#include "report/examcharts.h"
#include "report/pdffile.h"
#include "stats/rankingmodel.h"
#include "stats/statisticspage.h"

#include <QBuffer>
#include <QDir>
#include <QGraphicsScene>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QTextOption>

namespace examreport {

namespace {

constexpr qreal kMarginMillimetres = 15;
constexpr int kTitlePoints = 18;
constexpr int kTextPoints = 10;
constexpr int kRunningPoints = 9;
// A cell shows at most this many lines; a longer text ends in "…".
constexpr int kCellLines = 3;
// The histogram as laid out before it is scaled onto the page.
constexpr QSizeF kChartSize(900, 420);

QFont reportFont(int points, bool bold = false)
{
    return pdffile::chineseFont(points, bold);
}

// What the report says of its exam on every page.
struct ReportHead
{
    QString title;  // the exam's title line
    int pages = 0;  // 0 while they are being counted
};

// Lays out paragraphs and tables from the top of the page down. Each page
// starts with the exam's title line (the first page has the full title
// instead) and, inside a table, the table's heading row; each ends with
// "第 N 页 / 共 M 页".
class PageWriter
{
public:
    PageWriter(QPdfWriter &writer, QPainter &painter, ReportHead head)
        : m_writer(writer), m_painter(painter), m_head(std::move(head))
    {
        m_width = painter.viewport().width();
        m_painter.setFont(reportFont(kRunningPoints));
        m_footerHeight = m_painter.fontMetrics().height() * 2;
        m_height = painter.viewport().height() - m_footerHeight;
    }

    // Text wrapped to the page's width, between words where it can.
    void paragraph(const QString &text, const QFont &font)
    {
        m_painter.setFont(font);
        const QString shown = celltext::fitted(text).text;
        const QRectF box = m_painter.boundingRect(QRectF(0, 0, m_width, m_height), shown,
                                                  wrapping(Qt::AlignLeft));
        room(int(std::ceil(box.height())));
        m_painter.drawText(QRectF(0, m_y, m_width, box.height()), shown, wrapping(Qt::AlignLeft));
        m_y += int(std::ceil(box.height()));
    }

    // A table's heading row, repeated on each page the table runs onto.
    void startTable(const QStringList &heading, const QVector<qreal> &shares)
    {
        m_shares = shares;
        drawRow(heading, true);
        m_heading = heading;
    }
    void endTable() { m_heading.clear(); }

    // One row of cells in columns of the table's shares of the width; a
    // long cell wraps onto up to kCellLines lines.
    void row(const QStringList &cells) { drawRow(cells, false); }

    void chart(QChart *chart)
    {
        const int height = int(m_width * kChartSize.height() / kChartSize.width());
        room(height);
        QGraphicsScene scene;
        scene.addItem(chart);  // the scene deletes the chart
        chart->setGeometry(QRectF(QPointF(0, 0), kChartSize));
        scene.render(&m_painter, QRectF(0, m_y, m_width, height),
                     QRectF(QPointF(0, 0), kChartSize));
        m_y += height;
    }

    void gap() { m_y += m_painter.fontMetrics().height() / 2; }

    // Ends the last page; how many pages there are.
    int finish()
    {
        footer();
        return m_page;
    }

private:
    static QTextOption wrapping(Qt::Alignment alignment)
    {
        QTextOption option(alignment | Qt::AlignTop);
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        return option;
    }

    void drawRow(const QStringList &cells, bool bold)
    {
        m_painter.setFont(reportFont(kTextPoints, bold));
        const QFontMetrics metrics = m_painter.fontMetrics();
        const int padding = metrics.horizontalAdvance(u'0') / 2;
        // A line may break up to one full-width sign short of its end.
        const int shortfall = metrics.horizontalAdvance(QStringLiteral("\u4E00"));
        QStringList shown;
        int lines = 1;
        for (int i = 0; i < cells.size() && i < m_shares.size(); ++i) {
            const int width = int(m_shares[i] * m_width) - 2 * padding;
            // Cut to what kCellLines lines hold.
            const QString text = metrics.elidedText(celltext::fitted(cells[i]).text, Qt::ElideRight,
                                                    kCellLines * (width - shortfall));
            const QRectF box = m_painter.boundingRect(QRectF(0, 0, width, m_height), text,
                                                      wrapping(Qt::AlignLeft));
            lines = std::max(
                    lines,
                    std::min(kCellLines, int(std::lround(box.height() / metrics.lineSpacing()))));
            shown << text;
        }
        const int height = lines * metrics.lineSpacing() + metrics.height() / 4;
        // Never a heading alone at a page's foot.
        room(bold ? height + metrics.lineSpacing() * 2 : height);
        qreal x = 0;
        for (int i = 0; i < shown.size(); ++i) {
            const int width = int(m_shares[i] * m_width);
            m_painter.save();
            m_painter.setClipRect(QRectF(x, m_y, width, height));
            m_painter.drawText(
                    QRectF(x + padding, m_y + metrics.height() / 8.0, width - 2 * padding, height),
                    shown[i], wrapping(Qt::AlignLeft));
            m_painter.restore();
            x += width;
        }
        m_painter.drawLine(0, m_y + height, m_width, m_y + height);
        m_y += height;
    }

    void room(int height)
    {
        if (m_y + height > m_height && m_y > m_top)
            newPage();
    }

    void newPage()
    {
        footer();
        m_writer.newPage();
        ++m_page;
        m_y = 0;
        // The exam's title line, then the table under way.
        const QFont running = reportFont(kRunningPoints);
        m_painter.setFont(running);
        const QRectF box = m_painter.boundingRect(QRectF(0, 0, m_width, m_height), m_head.title,
                                                  wrapping(Qt::AlignLeft));
        m_painter.drawText(QRectF(0, 0, m_width, box.height()), m_head.title,
                           wrapping(Qt::AlignLeft));
        m_y = int(std::ceil(box.height()));
        m_painter.drawLine(0, m_y, m_width, m_y);
        m_y += m_painter.fontMetrics().height() / 2;
        m_top = m_y;
        if (!m_heading.isEmpty())
            drawRow(m_heading, true);
    }

    void footer()
    {
        m_painter.setFont(reportFont(kRunningPoints));
        const QString number = m_head.pages > 0
                ? QStringLiteral("第 %1 页 / 共 %2 页").arg(m_page).arg(m_head.pages)
                : QStringLiteral("第 %1 页").arg(m_page);
        m_painter.drawText(QRect(0, m_height, m_width, m_footerHeight),
                           Qt::AlignHCenter | Qt::AlignBottom, number);
    }

    QPdfWriter &m_writer;
    QPainter &m_painter;
    ReportHead m_head;
    QStringList m_heading;
    QVector<qreal> m_shares;
    int m_width = 0;
    int m_height = 0;  // above the footer
    int m_footerHeight = 0;
    int m_y = 0;
    int m_top = 0;  // where the page's own content starts
    int m_page = 1;
};

QString examLine(const ArchivedExam &exam, const ExamStatistics &whole)
{
    return QStringLiteral("文章《%1》　考试日期 %2　考试时间 %3分钟　%4")
            .arg(exam.sitting.articleName,
                 exam.sitting.heldAt().toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm")))
            .arg(exam.sitting.examMinutes)
            .arg(whole.attendance());
}

// Draws the report; the number of pages, or 0 when the painter failed.
int draw(QPdfWriter &writer, const ArchivedExam &exam, int pages)
{
    pdffile::setUpA4(writer, kMarginMillimetres, QStringLiteral("打字考试成绩报告"));
    const QVector<ExamStatistics> parts = statisticsParts(exam);
    const QString line = examLine(exam, parts.first());
    QPainter painter(&writer);
    PageWriter page(writer, painter, { QStringLiteral("打字考试成绩报告　") + line, pages });
    const GradingScale &scale = exam.sitting.scale;

    page.paragraph(QStringLiteral("打字考试成绩报告"), reportFont(kTitlePoints, true));
    page.paragraph(line, reportFont(kTextPoints));
    page.gap();

    page.startTable({ QStringLiteral("统计"), QStringLiteral("人数"), QStringLiteral("平均"),
                      QStringLiteral("中位数"), QStringLiteral("最高"), QStringLiteral("最低"),
                      QStringLiteral("标准差") },
                    { 0.3, 0.08, 0.12, 0.12, 0.12, 0.12, 0.14 });
    for (const ExamStatistics &part : parts) {
        const QString who = part.partName();
        page.row(QStringList { who + QStringLiteral(" 速度") } + figureTexts(part.speed));
        page.row(QStringList { who + QStringLiteral(" 正确率") } + figureTexts(part.accuracy));
    }
    page.endTable();
    page.gap();
    for (const ExamStatistics &part : parts) {
        page.paragraph(part.partName() + QStringLiteral("：") + part.attendance()
                               + QStringLiteral("；") + part.gradeShares(QStringLiteral("，"))
                               + QStringLiteral("；及格率 %1%").arg(part.passRate * 100, 0, 'f', 1),
                       reportFont(kTextPoints));
    }
    page.gap();
    page.chart(examcharts::speedHistogram(exam.rows, scale));
    page.gap();

    const QVector<RankingModel::Column> columns {
        RankingModel::Place, RankingModel::Department, RankingModel::ExamNumber,
        RankingModel::Name,  RankingModel::Speed,      RankingModel::Accuracy,
        RankingModel::Grade, RankingModel::Score,      RankingModel::State
    };
    QStringList heading;
    for (const RankingModel::Column column : columns)
        heading << RankingModel::header(column);
    page.startTable(heading, { 0.07, 0.18, 0.14, 0.13, 0.11, 0.11, 0.09, 0.08, 0.09 });
    RankingModel ranking;
    ranking.setExam(&exam);
    for (int row = 0; row < ranking.rowCount(); ++row) {
        QStringList cells;
        for (const RankingModel::Column column : columns)
            cells << ranking.text(row, column);
        page.row(cells);
    }
    page.endTable();
    const int drawn = page.finish();
    return painter.end() ? drawn : 0;
}

}  // namespace

QString defaultFileName(const ArchivedExam &exam)
{
    return documentname::forExam(QStringLiteral("考试报告"), exam.sitting.heldAt(),
                                 exam.sitting.articleName)
            + QStringLiteral(".pdf");
}

QString writePdf(const ArchivedExam &exam, const QString &path)
{
    const QString cannotWrite =
            QStringLiteral("无法写入报告 %1").arg(QDir::toNativeSeparators(path));
    // Laid out once to count the pages, then again with "共 M 页".
    QBuffer counted;
    counted.open(QIODevice::WriteOnly);
    QPdfWriter counting(&counted);
    const int pages = draw(counting, exam, 0);
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        if (!pages || !draw(writer, exam, pages))
            return cannotWrite;
    }
    return pdffile::save(pdf.data(), reportFont(kTextPoints), path, cannotWrite);
}

}  // namespace examreport
