// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/examreport.h"

#include "report/examcharts.h"
#include "stats/rankingmodel.h"
#include "stats/statisticspage.h"

#include <QDir>
#include <QGraphicsScene>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

namespace examreport {

namespace {

constexpr int kDotsPerInch = 300;
constexpr qreal kMarginMillimetres = 15;
constexpr int kTitlePoints = 18;
constexpr int kTextPoints = 10;
// The histogram as laid out before it is scaled onto the page.
constexpr QSizeF kChartSize(900, 420);

QFont reportFont(int points, bool bold = false)
{
    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setPointSize(points);
    font.setBold(bold);
    return font;
}

// Lays out lines and tables from the top of the page down, starting a new
// page when the next line does not fit.
class PageWriter
{
public:
    PageWriter(QPdfWriter &writer, QPainter &painter) : m_writer(writer), m_painter(painter)
    {
        m_width = painter.viewport().width();
        m_height = painter.viewport().height();
    }

    void line(const QString &text, const QFont &font)
    {
        m_painter.setFont(font);
        const int height = m_painter.fontMetrics().height();
        room(height);
        m_painter.drawText(QRect(0, m_y, m_width, height), Qt::AlignLeft | Qt::AlignVCenter, text);
        m_y += height;
    }

    // One row of cells in columns of the given shares of the width.
    void row(const QStringList &cells, const QVector<qreal> &shares, bool bold = false)
    {
        m_painter.setFont(reportFont(kTextPoints, bold));
        const int height = m_painter.fontMetrics().height() * 5 / 4;
        room(height);
        qreal x = 0;
        for (int i = 0; i < cells.size() && i < shares.size(); ++i) {
            const int width = int(shares[i] * m_width);
            m_painter.drawText(
                    QRect(int(x) + 8, m_y, width - 16, height), Qt::AlignLeft | Qt::AlignVCenter,
                    m_painter.fontMetrics().elidedText(cells[i], Qt::ElideRight, width - 16));
            x += width;
        }
        m_painter.drawLine(0, m_y + height, m_width, m_y + height);
        m_y += height;
    }

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

private:
    void room(int height)
    {
        if (m_y + height <= m_height || m_y == 0)
            return;
        m_writer.newPage();
        m_y = 0;
    }

    QPdfWriter &m_writer;
    QPainter &m_painter;
    int m_width = 0;
    int m_height = 0;
    int m_y = 0;
};

}  // namespace

QString writePdf(const ArchivedExam &exam, const QString &path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("无法写入报告 %1：%2")
                .arg(QDir::toNativeSeparators(path), file.errorString());
    {
        QPdfWriter writer(&file);
        writer.setResolution(kDotsPerInch);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(kMarginMillimetres, kMarginMillimetres,
                                                   kMarginMillimetres, kMarginMillimetres),
                                         QPageLayout::Millimeter));
        writer.setTitle(QStringLiteral("打字考试成绩报告"));
        writer.setCreator(QStringLiteral("Kestrix 考试服务器"));
        QPainter painter(&writer);
        PageWriter page(writer, painter);
        const GradingScale &scale = exam.sitting.scale;

        const QVector<ExamStatistics> parts = statisticsParts(exam);
        page.line(QStringLiteral("打字考试成绩报告"), reportFont(kTitlePoints, true));
        page.line(QStringLiteral("文章《%1》　考试日期 %2　考试时间 %3分钟　%4")
                          .arg(exam.sitting.articleName,
                               exam.sitting.heldAt().toLocalTime().toString(
                                       QStringLiteral("yyyy-MM-dd HH:mm")))
                          .arg(exam.sitting.examMinutes)
                          .arg(parts.first().attendance()),
                  reportFont(kTextPoints));
        page.gap();

        const QVector<qreal> figureShares { 0.22, 0.1, 0.13, 0.13, 0.13, 0.13, 0.16 };
        page.row({ QStringLiteral("统计"), QStringLiteral("人数"), QStringLiteral("平均"),
                   QStringLiteral("中位数"), QStringLiteral("最高"), QStringLiteral("最低"),
                   QStringLiteral("标准差") },
                 figureShares, true);
        for (const ExamStatistics &part : parts) {
            const QString who = part.partName();
            page.row(QStringList { who + QStringLiteral(" 速度") } + figureTexts(part.speed),
                     figureShares);
            page.row(QStringList { who + QStringLiteral(" 正确率") } + figureTexts(part.accuracy),
                     figureShares);
        }
        page.gap();
        for (const ExamStatistics &part : parts) {
            page.line(part.partName() + QStringLiteral("：") + part.attendance()
                              + QStringLiteral("；") + part.gradeShares(QStringLiteral("，"))
                              + QStringLiteral("；及格率 %1%").arg(part.passRate * 100, 0, 'f', 1),
                      reportFont(kTextPoints));
        }
        page.gap();
        page.chart(examcharts::speedHistogram(exam.rows, scale));
        page.gap();

        const QVector<qreal> rankShares { 0.07, 0.18, 0.14, 0.13, 0.11, 0.11, 0.09, 0.08, 0.09 };
        page.row({ QStringLiteral("名次"), QStringLiteral("部门"), QStringLiteral("考号"),
                   QStringLiteral("姓名"), QStringLiteral("速度"), QStringLiteral("正确率"),
                   QStringLiteral("等级"), QStringLiteral("得分"), QStringLiteral("状态") },
                 rankShares, true);
        RankingModel ranking;
        ranking.setExam(&exam);
        for (int row = 0; row < ranking.rowCount(); ++row) {
            QStringList cells;
            for (const RankingModel::Column column :
                 { RankingModel::Place, RankingModel::Department, RankingModel::ExamNumber,
                   RankingModel::Name, RankingModel::Speed, RankingModel::Accuracy,
                   RankingModel::Grade, RankingModel::Score, RankingModel::State })
                cells << ranking.text(row, column);
            page.row(cells, rankShares);
        }
        if (!painter.end())
            return QStringLiteral("无法写入报告 %1").arg(QDir::toNativeSeparators(path));
    }
    if (!file.commit())
        return QStringLiteral("无法写入报告 %1：%2")
                .arg(QDir::toNativeSeparators(path), file.errorString());
    return {};
}

}  // namespace examreport
