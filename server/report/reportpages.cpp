// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/reportpages.h"

#include "export/celltext.h"
#include "report/pdffile.h"
#include "stats/statisticspage.h"

#include <QAbstractItemModel>
#include <QBuffer>
#include <QChart>
#include <QDir>
#include <QGraphicsScene>
#include <QPainter>
#include <QPdfWriter>
#include <QImage>
#include <QTextOption>

#include <cmath>
#include <QCoreApplication>

namespace reportpages {

namespace {

constexpr qreal kMarginMillimetres = 15;
constexpr int kRunningPoints = 9;
// A cell shows at most this many lines; a longer text ends in "…".
constexpr int kCellLines = 3;
// The histogram as laid out before it is scaled onto the page.
constexpr QSizeF kChartSize(900, 420);
// The chart's picture has this many pixels for each of its points: about
// the page's 300 dots an inch across a page's width.
constexpr qreal kChartPictureScale = 2.5;

QTextOption wrapping(Qt::Alignment alignment)
{
    QTextOption option(alignment | Qt::AlignTop);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    return option;
}

}  // namespace

QFont reportFont(int points, bool bold)
{
    return pdffile::chineseFont(points, bold);
}

PageWriter::PageWriter(QPdfWriter &writer, QPainter &painter, ReportHead head)
    : m_writer(writer), m_painter(painter), m_head(std::move(head))
{
    m_width = painter.viewport().width();
    m_painter.setFont(reportFont(kRunningPoints));
    m_footerHeight = m_painter.fontMetrics().height() * 2;
    m_height = painter.viewport().height() - m_footerHeight;
}

// Text wrapped to the page's width, between words where it can.
void PageWriter::paragraph(const QString &text, const QFont &font)
{
    m_painter.setFont(font);
    const QString shown = celltext::fitted(text).text;
    const QRectF box =
            m_painter.boundingRect(QRectF(0, 0, m_width, m_height), shown, wrapping(Qt::AlignLeft));
    room(int(std::ceil(box.height())));
    m_painter.drawText(QRectF(0, m_y, m_width, box.height()), shown, wrapping(Qt::AlignLeft));
    m_y += int(std::ceil(box.height()));
}

// A table's heading row, repeated on each page the table runs onto.
void PageWriter::startTable(const QStringList &heading, const QVector<qreal> &shares)
{
    m_shares = shares;
    drawRow(heading, true);
    m_heading = heading;
}
// One row of cells in columns of the table's shares of the width; a
// long cell wraps onto up to kCellLines lines.
void PageWriter::row(const QStringList &cells)
{
    drawRow(cells, false);
}

void PageWriter::chart(QChart *chart)
{
    picture(chartPicture(chart));
}

void PageWriter::picture(const QImage &picture)
{
    const int height = int(m_width * kChartSize.height() / kChartSize.width());
    room(height);
    m_painter.drawImage(QRectF(0, m_y, m_width, height), picture);
    m_y += height;
}

QImage chartPicture(QChart *chart)
{
    QImage picture((kChartSize * kChartPictureScale).toSize(), QImage::Format_RGB32);
    picture.fill(Qt::white);
    QGraphicsScene scene;
    scene.addItem(chart);  // the scene deletes the chart
    chart->setGeometry(QRectF(QPointF(0, 0), kChartSize));
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    scene.render(&painter, QRectF(QPointF(0, 0), picture.size()),
                 QRectF(QPointF(0, 0), kChartSize));
    return picture;
}

void PageWriter::gap()
{
    m_y += m_painter.fontMetrics().height() / 2;
}

// Ends the last page; how many pages there are.
int PageWriter::finish()
{
    footer();
    return m_page;
}

void PageWriter::drawRow(const QStringList &cells, bool bold)
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
    // A new page drew its heading row in bold; this row keeps its own font.
    m_painter.setFont(reportFont(kTextPoints, bold));
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

void PageWriter::room(int height)
{
    if (m_y + height > m_height && m_y > m_top)
        newPage();
}

void PageWriter::newPage()
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
    m_painter.drawText(QRectF(0, 0, m_width, box.height()), m_head.title, wrapping(Qt::AlignLeft));
    m_y = int(std::ceil(box.height()));
    m_painter.drawLine(0, m_y, m_width, m_y);
    m_y += m_painter.fontMetrics().height() / 2;
    m_top = m_y;
    if (!m_heading.isEmpty())
        drawRow(m_heading, true);
}

void PageWriter::footer()
{
    m_painter.setFont(reportFont(kRunningPoints));
    const QString number = m_head.pages > 0
            ? tr("第 %1 页 / 共 %2 页").arg(m_page).arg(m_head.pages)
            : tr("第 %1 页").arg(m_page);
    m_painter.drawText(QRect(0, m_height, m_width, m_footerHeight),
                       Qt::AlignHCenter | Qt::AlignBottom, number);
}

void statistics(PageWriter &page, const QVector<NamedStatistics> &parts)
{
    page.startTable({ QCoreApplication::translate("reportpages", "统计"),
                      QCoreApplication::translate("reportpages", "人数"),
                      QCoreApplication::translate("reportpages", "平均"),
                      QCoreApplication::translate("reportpages", "中位数"),
                      QCoreApplication::translate("reportpages", "最高"),
                      QCoreApplication::translate("reportpages", "最低"),
                      QCoreApplication::translate("reportpages", "标准差") },
                    { 0.3, 0.08, 0.12, 0.12, 0.12, 0.12, 0.14 });
    for (const auto &[who, part] : parts) {
        page.row(QStringList { who + QCoreApplication::translate("reportpages", " 速度") }
                 + figureTexts(part.speed));
        page.row(QStringList { who + QCoreApplication::translate("reportpages", " 正确率") }
                 + figureTexts(part.accuracy));
    }
    page.endTable();
    page.gap();
    for (const auto &[who, part] : parts) {
        page.paragraph(who + QCoreApplication::translate("reportpages", "：") + part.attendance()
                               + QCoreApplication::translate("reportpages", "；")
                               + part.gradeShares(QCoreApplication::translate("reportpages", "，"))
                               + QCoreApplication::translate("reportpages", "；及格率 %1%")
                                         .arg(part.passRate * 100, 0, 'f', 1),
                       reportFont(kTextPoints));
    }
}

void modelTable(PageWriter &page, const QAbstractItemModel &model, const QVector<int> &columns,
                const QVector<qreal> &shares)
{
    QStringList heading;
    for (const int column : columns)
        heading << model.headerData(column, Qt::Horizontal).toString();
    page.startTable(heading, shares);
    for (int row = 0; row < model.rowCount(); ++row) {
        QStringList cells;
        for (const int column : columns)
            cells << model.index(row, column).data().toString();
        page.row(cells);
    }
    page.endTable();
}

QString writePdf(const QString &path, const QString &title, const Drawing &draw)
{
    const QString cannotWrite = QCoreApplication::translate("reportpages", "无法写入报告 %1")
                                        .arg(QDir::toNativeSeparators(path));
    const auto drawOn = [&](QPdfWriter &writer, int pages) {
        pdffile::setUpA4(writer, kMarginMillimetres, title);
        return draw(writer, pages);
    };
    // Laid out once to count the pages, then again with "共 M 页".
    QBuffer counted;
    counted.open(QIODevice::WriteOnly);
    QPdfWriter counting(&counted);
    const int pages = drawOn(counting, 0);
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        if (!pages || !drawOn(writer, pages))
            return cannotWrite;
    }
    return pdffile::save(pdf.data(), reportFont(kTextPoints), path, cannotWrite);
}

}  // namespace reportpages
