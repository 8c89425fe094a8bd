// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/loginslips.h"

#include "export/documentname.h"
#include "exchange/logincode.h"
#include "report/pdffile.h"

#include <QBuffer>
#include <QDir>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <QCoreApplication>

namespace loginslips {

namespace {

using pdffile::kDotsPerInch;
constexpr qreal kMarginMillimetres = 10;
constexpr int kTitlePoints = 10;
constexpr int kTextPoints = 11;
constexpr int kCodePoints = 18;
constexpr int kNotePoints = 8;
constexpr qreal kPaddingMillimetres = 5;
constexpr qreal kLineGapMillimetres = 1.2;

int dots(qreal millimetres)
{
    return qRound(millimetres / 25.4 * kDotsPerInch);
}

// Draws a caption and its value on one line of the slip, each shortened to
// the room left; the top of the next line.
int drawLine(QPainter &painter, const QRect &slip, int top, const QFont &captionFont,
             const QString &caption, const QFont &valueFont = {}, const QString &value = {})
{
    const QFontMetrics captionMetrics(captionFont, painter.device());
    const QFontMetrics valueMetrics(valueFont, painter.device());
    const int ascent =
            std::max(captionMetrics.ascent(), value.isEmpty() ? 0 : valueMetrics.ascent());
    const int height =
            std::max(captionMetrics.height(), value.isEmpty() ? 0 : valueMetrics.height());
    const int left = slip.left() + dots(kPaddingMillimetres);
    const int room = slip.right() - dots(kPaddingMillimetres) - left;
    painter.setFont(captionFont);
    const QString shownCaption = captionMetrics.elidedText(caption, Qt::ElideRight, room);
    painter.drawText(left, top + ascent, shownCaption);
    if (!value.isEmpty()) {
        const int captionWidth = captionMetrics.horizontalAdvance(shownCaption);
        painter.setFont(valueFont);
        // Sign by sign: a run of Latin letters and digits is shaped with
        // glyphs the PDF's text map cannot name, and a reader would lose them.
        int x = left + captionWidth;
        for (const QChar sign :
             valueMetrics.elidedText(value, Qt::ElideRight, room - captionWidth)) {
            painter.drawText(x, top + ascent, QString(sign));
            x += valueMetrics.horizontalAdvance(sign);
        }
    }
    return top + height + dots(kLineGapMillimetres);
}

// The code in the system's fixed-pitch font: each sign as wide as the next,
// and a reader finds every digit in the PDF's text map, where the CJK
// font's map, written by QPdfWriter, loses some of them.
QFont codeFont()
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(kCodePoints);
    font.setBold(true);
    return font;
}

void drawSlip(QPainter &painter, const CodedExaminee &examinee, const QString &exam,
              const QRect &slip)
{
    painter.setPen(QPen(Qt::black, 2, Qt::DashLine));
    painter.drawRect(slip);
    painter.setPen(Qt::black);
    const QFont text = pdffile::chineseFont(kTextPoints);
    int top = slip.top() + dots(kPaddingMillimetres);
    top = drawLine(painter, slip, top, pdffile::chineseFont(kTitlePoints, true),
                   QCoreApplication::translate("loginslips", "打字考试登录码"));
    if (!exam.isEmpty())
        top = drawLine(painter, slip, top, pdffile::chineseFont(kNotePoints), exam);
    top = drawLine(painter, slip, top, text,
                   QCoreApplication::translate("loginslips", "姓名：") + examinee.name);
    top = drawLine(painter, slip, top, text,
                   QCoreApplication::translate("loginslips", "部门：") + examinee.department);
    top = drawLine(painter, slip, top, text,
                   QCoreApplication::translate("loginslips", "考号：") + examinee.examNumber);
    top = drawLine(painter, slip, top, text, QCoreApplication::translate("loginslips", "登录码："),
                   codeFont(), logincode::printed(examinee.code));
    drawLine(painter, slip, top, pdffile::chineseFont(kNotePoints),
             QCoreApplication::translate("loginslips", "登录时填入“登录码”一栏，不要给别人看。"));
}

bool draw(QPdfWriter &writer, const LoginCodes &codes, const QString &exam)
{
    const QString title = QCoreApplication::translate("loginslips", "打字考试登录码");
    pdffile::setUpA4(writer, kMarginMillimetres,
                     exam.isEmpty()
                             ? title
                             : title + QCoreApplication::translate("loginslips", "　") + exam);
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
        drawSlip(painter, examinees.at(i), exam, slip);
    }
    return painter.end();
}

}  // namespace

QString defaultFileName(const QDateTime &openedAt, const QString &articleName)
{
    return documentname::forExam(QCoreApplication::translate("loginslips", "登录码"), openedAt,
                                 articleName)
            + QStringLiteral(".pdf");
}

QString writePdf(const LoginCodes &codes, const QString &exam, const QString &path)
{
    if (codes.isEmpty())
        return QCoreApplication::translate("loginslips", "这场考试没有登录码。");
    const QString cannotWrite = QCoreApplication::translate("loginslips", "无法写入登录码 %1")
                                        .arg(QDir::toNativeSeparators(path));
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        if (!draw(writer, codes, exam))
            return cannotWrite;
    }
    return pdffile::save(pdf.data(), pdffile::chineseFont(kTextPoints), path, cannotWrite);
}

}  // namespace loginslips
