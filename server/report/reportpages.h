// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The pages of a PDF report: A4 with the Chinese font embedded, laid out
// from the top down in paragraphs, tables and charts; every page carries
// the report's title line, the heading row of the table it continues and
// "第 N 页 / 共 M 页". A report is laid out twice, to count its pages, and
// written whole or not at all.
#include "stats/gradewideexam.h"

#include <QCoreApplication>
#include <QFont>
#include <QStringList>
#include <QVector>

#include <functional>

class QAbstractItemModel;
class QChart;
class QPainter;
class QPdfWriter;
class QImage;

namespace reportpages {

constexpr int kTitlePoints = 18;
constexpr int kTextPoints = 10;

// The report's font: the first CJK family installed.
QFont reportFont(int points, bool bold = false);

// What the report says on every page.
struct ReportHead
{
    QString title;  // the title line
    int pages = 0;  // 0 while they are being counted
};

// Lays out paragraphs and tables from the top of the page down. Each page
// starts with the title line (the first page has the full title instead)
// and, inside a table, the table's heading row; each ends with its number.
class PageWriter
{
    Q_DECLARE_TR_FUNCTIONS(PageWriter)
public:
    PageWriter(QPdfWriter &writer, QPainter &painter, ReportHead head);

    // Text wrapped to the page's width, between words where it can.
    void paragraph(const QString &text, const QFont &font);
    // A table's heading row, repeated on each page the table runs onto.
    void startTable(const QStringList &heading, const QVector<qreal> &shares);
    void endTable() { m_heading.clear(); }
    // One row of cells in columns of the table's shares of the width; a
    // long cell wraps onto a few lines and then ends in "…".
    void row(const QStringList &cells);
    // The chart across the page; the page's scene deletes it. Only on the
    // GUI thread, where charts are drawn.
    void chart(QChart *chart);
    // A chart drawn before by chartPicture(), across the page; on any thread.
    void picture(const QImage &picture);
    void gap();
    // Ends the last page; how many pages there are.
    int finish();

private:
    void drawRow(const QStringList &cells, bool bold);
    void room(int height);
    void newPage();
    void footer();

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

// The chart drawn as a picture sharp at the page's resolution, on the GUI
// thread, for a page to draw on any thread; deletes the chart.
QImage chartPicture(QChart *chart);

// Each part's figures of speed and accuracy in a table, then a line each
// with its attendance, grade shares and pass rate.
void statistics(PageWriter &page, const QVector<NamedStatistics> &parts);

// The model's `columns` as a table, headed as the model heads them, every row.
void modelTable(PageWriter &page, const QAbstractItemModel &model, const QVector<int> &columns,
                const QVector<qreal> &shares);

// Draws a report on `writer` (set up for A4 under `title`) for a count of
// `pages` (0 while counting); the pages drawn, or 0 when drawing failed.
using Drawing = std::function<int(QPdfWriter &writer, int pages)>;

// Writes the report drawn by `draw` to `path`; the problem naming the file, or empty.
QString writePdf(const QString &path, const QString &title, const Drawing &draw);

}  // namespace reportpages
