// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/frmanswersheet.h"

#include <QLabel>
#include <QResizeEvent>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextEdit>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QTextCharFormat markFormat(AnswerSheetPage::Mark mark)
{
    QTextCharFormat format;
    switch (mark) {
    case AnswerSheetPage::Mark::Right:
        format.setForeground(Qt::blue);
        break;
    case AnswerSheetPage::Mark::Wrong:
        format.setForeground(Qt::red);
        format.setFontWeight(QFont::Bold);
        break;
    case AnswerSheetPage::Mark::Missing:
        format.setForeground(Qt::gray);
        format.setFontUnderline(true);
        break;
    }
    return format;
}

// A run as the sheet shows it: each CR LF one line break; a line break typed
// wrong is shown as a sign, since a break has no colour of its own.
QString shown(QStringView text, AnswerSheetPage::Mark mark)
{
    QString out;
    out.reserve(text.size());
    for (const QChar ch : text) {
        if (ch == u'\r') {
            if (mark == AnswerSheetPage::Mark::Wrong)
                out += u'↵';
        } else {
            out += ch;
        }
    }
    return out;
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
                        page.timeLine() + QStringLiteral("　　") + page.sessionLine() };
    lines.removeAll(QString());
    m_figures = new QLabel(lines.join(u'\n'), this);
    m_figures->setObjectName(QStringLiteral("LblFigures"));
    m_figures->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_figures);
    if (!page.doubts().isEmpty()) {
        auto *doubts = new QLabel(
                QStringLiteral("存疑：") + page.doubts().join(QStringLiteral("；")), this);
        doubts->setObjectName(QStringLiteral("LblDoubts"));
        doubts->setWordWrap(true);
        doubts->setStyleSheet(QStringLiteral("color: #c00000"));
        layout->addWidget(doubts);
    }
    auto *legend = new QLabel(page.notice().isEmpty()
                                      ? QStringLiteral("蓝色：打对　红色：打错　灰色带下划线：未打")
                                      : page.notice(),
                              this);
    legend->setObjectName(QStringLiteral("LblNotice"));
    layout->addWidget(legend);
    m_sheet = new QTextEdit(this);
    m_sheet->setObjectName(QStringLiteral("TxtAnswerSheet"));
    m_sheet->setReadOnly(true);
    layout->addWidget(m_sheet, 1);
    fillSheet(page);
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
    const QString &text = page.publishedText();
    for (const AnswerSheetPage::Run &run : page.runs())
        cursor.insertText(shown(QStringView(text).mid(run.start, run.length), run.mark),
                          markFormat(run.mark));
    if (!page.typedBeyond().isEmpty()) {
        QTextCharFormat beyond = markFormat(AnswerSheetPage::Mark::Wrong);
        beyond.setFontStrikeOut(true);
        cursor.insertText(QStringLiteral("\n【多打】"), markFormat(AnswerSheetPage::Mark::Wrong));
        cursor.insertText(shown(page.typedBeyond(), AnswerSheetPage::Mark::Right), beyond);
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
    QWidget::resizeEvent(event);
}
