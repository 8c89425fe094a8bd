// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/frmanswersheet.h"

#include "timeline/typingthresholds.h"
#include "windows/replayview.h"
#include "windows/sheetformats.h"
#include "windows/speedcurveview.h"

#include <QLabel>
#include <QResizeEvent>
#include <QShortcut>
#include <QTabWidget>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextEdit>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// What was typed at a wrong place, small and raised after it.
QTextCharFormat typedFormat()
{
    QTextCharFormat format;
    format.setForeground(QColor(0x80, 0x40, 0x00));
    format.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    return format;
}

}  // namespace

FrmAnswerSheet::FrmAnswerSheet(const AnswerSheetPage &page, QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("FrmAnswerSheet"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(page.title());
    auto *layout = new QVBoxLayout(this);
    QStringList lines { page.recordLine(), page.recomputedLine(),
                        page.timeLine() + tr("　　") + page.sessionLine() };
    lines.removeAll(QString());
    m_figures = new QLabel(lines.join(u'\n'), this);
    m_figures->setObjectName(QStringLiteral("LblFigures"));
    m_figures->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_figures);
    if (!page.slipLine().isEmpty()) {
        m_slip = new QLabel(page.slipLine(), this);
        m_slip->setObjectName(QStringLiteral("LblSlip"));
        m_slip->setWordWrap(true);
        m_slip->setTextInteractionFlags(Qt::TextSelectableByMouse);
        m_slip->setStyleSheet(QStringLiteral("color: #804000"));
        layout->addWidget(m_slip);
    }
    if (!page.doubts().isEmpty()) {
        auto *doubts = new QLabel(tr("存疑：") + page.doubts().join(tr("；")), this);
        doubts->setObjectName(QStringLiteral("LblDoubts"));
        doubts->setWordWrap(true);
        doubts->setStyleSheet(QStringLiteral("color: #c00000"));
        layout->addWidget(doubts);
    }
    const QString legendText =
            tr("蓝色：打对　红色：打错（右上角小字为打成的字）　灰色带下划线：未打");
    auto *legend = new QLabel(page.notice().isEmpty() ? legendText : page.notice(), this);
    legend->setObjectName(QStringLiteral("LblNotice"));
    layout->addWidget(legend);
    m_sheet = new QTextEdit(this);
    m_sheet->setObjectName(QStringLiteral("TxtAnswerSheet"));
    m_sheet->setReadOnly(true);
    fillSheet(page);
    if (!page.timelineNotice().isEmpty()) {
        auto *notice = new QLabel(page.timelineNotice(), this);
        notice->setObjectName(QStringLiteral("LblTimelineNotice"));
        notice->setWordWrap(true);
        layout->addWidget(notice);
    }
    if (!page.curve()) {
        layout->addWidget(m_sheet, 1);
    } else {
        // How it was typed, beside what was typed.
        auto *tabs = new QTabWidget(this);
        tabs->setObjectName(QStringLiteral("TabAnswerSheet"));
        tabs->addTab(m_sheet, tr("答卷"));
        tabs->addTab(new SpeedCurveView(*page.curve(), TypingThresholds().pauseSeconds, tabs),
                     tr("速度曲线"));
        if (page.replay())
            tabs->addTab(new ReplayView(*page.replay(), page.comparedText(), page.curve()->endMs(),
                                        tabs),
                         tr("回放"));
        layout->addWidget(tabs, 1);
    }
    auto *closing = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(closing, &QShortcut::activated, this, &QWidget::close);
    resize(900, 640);
}

int FrmAnswerSheet::letterPixels(int windowWidth)
{
    // About 36 signs a line, never smaller than a desk screen needs.
    return std::max(16, windowWidth / 36);
}

void FrmAnswerSheet::fillSheet(const AnswerSheetPage &page)
{
    QTextCursor cursor(m_sheet->document());
    cursor.beginEditBlock();
    for (const AnswerSheetPage::Piece &piece : page.pieces()) {
        QTextCharFormat format = markFormat(piece.mark);
        format.setToolTip(piece.note);
        if (piece.mark != AnswerSheetPage::Mark::Wrong) {
            cursor.insertText(piece.text, format);
            continue;
        }
        // The typed sign sits before a wrong line break's own break.
        const bool lineBreak = piece.text.endsWith(u'\n');
        cursor.insertText(lineBreak ? piece.text.chopped(1) : piece.text, format);
        QTextCharFormat typed = typedFormat();
        typed.setToolTip(piece.note);
        cursor.insertText(piece.typed, typed);
        if (lineBreak)
            cursor.insertText(QStringLiteral("\n"), format);
    }
    if (!page.typedBeyond().isEmpty()) {
        QTextCharFormat beyond = markFormat(AnswerSheetPage::Mark::Wrong);
        beyond.setFontStrikeOut(true);
        cursor.insertText(tr("\n【多打】"), markFormat(AnswerSheetPage::Mark::Wrong));
        cursor.insertText(page.typedBeyond(), beyond);
    }
    cursor.endEditBlock();
    m_sheet->moveCursor(QTextCursor::Start);
}

void FrmAnswerSheet::resizeEvent(QResizeEvent *event)
{
    QFont font = this->font();
    font.setPixelSize(letterPixels(event->size().width()));
    m_sheet->setFont(font);
    QFont small = font;
    small.setPixelSize(std::max(14, font.pixelSize() * 2 / 3));
    m_figures->setFont(small);
    if (m_slip)
        m_slip->setFont(small);
    QWidget::resizeEvent(event);
}
