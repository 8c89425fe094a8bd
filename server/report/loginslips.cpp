// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/loginslips.h"

#include "export/documentname.h"
#include "report/pdffile.h"

#include <QBuffer>
#include <QDir>
#include <QFontMetrics>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

namespace loginslips {

namespace {

constexpr int kDotsPerInch = 300;
constexpr qreal kMarginMillimetres = 10;
constexpr int kTitlePoints = 11;
constexpr int kTextPoints = 12;
constexpr int kCodePoints = 24;

int dots(qreal millimetres)
{
    return qRound(millimetres / 25.4 * kDotsPerInch);
}

// One line of a slip, shortened to its width; the top of the next line.
int drawLine(QPainter &painter, const QFont &font, const QString &text, const QRect &slip, int top)
{
    painter.setFont(font);
    const QFontMetrics metrics(font, painter.device());
    const QString shown = metrics.elidedText(text, Qt::ElideRight, slip.width() - 2 * dots(6));
    painter.drawText(slip.left() + dots(6), top + metrics.ascent(), shown);
    return top + metrics.height() + dots(2.5);
}

void drawSlip(QPainter &painter, const CodedExaminee &examinee, const QRect &slip)
{
    painter.setPen(QPen(Qt::black, 2, Qt::DashLine));
    painter.drawRect(slip);
    painter.setPen(Qt::black);
    int top = slip.top() + dots(6);
    top = drawLine(painter, pdffile::chineseFont(kTitlePoints, true),
                   QStringLiteral("打字考试登录码"), slip, top);
    top = drawLine(painter, pdffile::chineseFont(kTextPoints),
                   QStringLiteral("姓名：") + examinee.name, slip, top);
    top = drawLine(painter, pdffile::chineseFont(kTextPoints),
                   QStringLiteral("部门：") + examinee.department, slip, top);
    top = drawLine(painter, pdffile::chineseFont(kTextPoints),
                   QStringLiteral("考号：") + examinee.examNumber, slip, top);
    QFont code = pdffile::chineseFont(kCodePoints, true);
    code.setLetterSpacing(QFont::PercentageSpacing, 120);
    top = drawLine(painter, code, QStringLiteral("登录码：") + examinee.code, slip, top);
    drawLine(painter, pdffile::chineseFont(kTitlePoints),
             QStringLiteral("登录时填入“登录码”一栏，不要给别人看。"), slip, top);
}

bool draw(QPdfWriter &writer, const LoginCodes &codes)
{
    writer.setResolution(kDotsPerInch);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(kMarginMillimetres, kMarginMillimetres,
                                               kMarginMillimetres, kMarginMillimetres),
                                     QPageLayout::Millimeter));
    writer.setTitle(QStringLiteral("打字考试登录码"));
    writer.setCreator(QStringLiteral("Kestrix 考试服务器"));
    QPainter painter(&writer);
    // The painter starts at the top left of the margins.
    const QRect page(QPoint(0, 0), writer.pageLayout().paintRectPixels(kDotsPerInch).size());
    const int width = page.width() / kColumns;
    const int height = page.height() / kRows;
    const QVector<CodedExaminee> &examinees = codes.examinees();
    for (int i = 0; i < examinees.size(); ++i) {
        const int place = i % (kColumns * kRows);
        if (i > 0 && place == 0 && !writer.newPage())
            return false;
        const QRect slip(place % kColumns * width, place / kColumns * height, width, height);
        drawSlip(painter, examinees.at(i), slip);
    }
    return painter.end();
}

}  // namespace

QString defaultFileName(const QDateTime &openedAt, const QString &articleName)
{
    return documentname::forExam(QStringLiteral("登录码"), openedAt, articleName)
            + QStringLiteral(".pdf");
}

QString writePdf(const LoginCodes &codes, const QString &path)
{
    if (codes.isEmpty())
        return QStringLiteral("这场考试没有登录码。");
    const QString cannotWrite =
            QStringLiteral("无法写入登录码 %1").arg(QDir::toNativeSeparators(path));
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        if (!draw(writer, codes))
            return cannotWrite;
    }
    return pdffile::save(pdf.data(), pdffile::chineseFont(kTextPoints), path, cannotWrite);
}

}  // namespace loginslips
