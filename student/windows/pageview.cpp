// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/pageview.h"

#include "exam/typingsession.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QPaintEvent>
#include <QPainter>
#include <QRawFont>
#include <QTextLayout>

#include <cmath>
#include <utility>

LayerCaption::LayerCaption(QWidget *parent) : QWidget(parent) { }

void LayerCaption::setText(const QString &text)
{
    if (text == m_text)
        return;
    const QString previous = std::exchange(m_text, text);
    captionChanged(previous);
}

void LayerCaption::captionChanged(const QString &previous)
{
    // An overlay layer paints nothing itself: the page view under it draws
    // its caption.
    if (auto *page = qobject_cast<PageView *>(parentWidget()))
        page->overlayChanged(previous, m_text);
}

namespace {

// Characters laid out per page at most: far more than 11 lines can hold
// with the narrowest glyph, so the page is always full, yet the cost of a
// page does not grow with the length of the text.
constexpr int kPageCharBudget = TypingSession::kPageLines * 256;

// Signs that reach as high and as low as an article's signs do:
// ideographs, full-width brackets and quotes, letters and descenders.
constexpr char16_t kTallestSigns[] = u"国鬱（）「」，。Mbdfhkgjpqy";

// The ink of the tallest signs in `font`, from its baseline, laid out as
// the page lays its lines out, with the faces that stand in for missing signs.
QRectF inkOf(const QFont &font)
{
    QTextLayout layout(QString::fromUtf16(kTallestSigns), font);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    QRectF ink;
    for (const QGlyphRun &run : line.glyphRuns()) {
        const QRawFont raw = run.rawFont();
        const QVector<quint32> glyphs = run.glyphIndexes();
        const QVector<QPointF> positions = run.positions();
        for (int i = 0; i < glyphs.size(); ++i)
            ink |= raw.boundingRect(glyphs[i]).translated(positions[i]);
    }
    return ink.translated(0, -line.ascent());
}

bool isLineEnd(QChar ch)
{
    return ch == u'\r' || ch == u'\n';
}

}  // namespace

PageView::PageView(QWidget *parent)
    : LayerCaption(parent),
      m_writeLayer(new LayerCaption(this)),
      m_errorLayer(new LayerCaption(this))
{
    m_writeLayer->setObjectName(QStringLiteral("LblWrite"));
    m_errorLayer->setObjectName(QStringLiteral("LblError"));
    for (LayerCaption *layer : { m_writeLayer, m_errorLayer }) {
        layer->setAttribute(Qt::WA_TransparentForMouseEvents);
        layer->setAttribute(Qt::WA_NoSystemBackground);
    }
    setAttribute(Qt::WA_OpaquePaintEvent);
    measureLines();
}

PageView::~PageView() = default;

QColor PageView::rightColor()
{
    return QColor(0x00, 0x00, 0xC0);
}

QColor PageView::wrongColor()
{
    return QColor(0xC0, 0x00, 0x00);
}

void PageView::captionChanged(const QString &)
{
    m_layoutDirty = true;
    update();
}

void PageView::overlayChanged(const QString &previous, const QString &current)
{
    if (m_layoutDirty) {
        update();
        return;
    }
    // Typing changes the overlays only from some position on, usually a
    // character or two at the end: repaint just the lines that hold them.
    const qsizetype common = std::min(previous.size(), current.size());
    qsizetype first = 0;
    while (first < common && previous[first] == current[first])
        ++first;
    const int from = int(first);
    const int to = int(std::max(previous.size(), current.size()));
    QRect dirty;
    for (const Paragraph &paragraph : m_paragraphs) {
        const QTextLayout &layout = *paragraph.layout;
        for (int l = 0; l < layout.lineCount(); ++l) {
            const QTextLine line = layout.lineAt(l);
            const int lineStart = paragraph.start + line.textStart();
            const int lineEnd = lineStart + line.textLength();
            if (lineEnd <= from || lineStart >= to)
                continue;
            // Only the changed characters of the line, not the whole line.
            const qreal left = line.cursorToX(std::max(from, lineStart) - paragraph.start);
            const qreal right = line.cursorToX(std::min(to, lineEnd) - paragraph.start);
            const QRectF changed(left, line.y(), right - left, line.height());
            dirty |= changed.translated(layout.position()).toAlignedRect();
        }
    }
    if (!dirty.isEmpty())
        update(dirty.adjusted(-2, -2, 2, 4).intersected(rect()));
}

void PageView::resizeEvent(QResizeEvent *event)
{
    // The overlay layers always cover the target layer exactly.
    m_writeLayer->setGeometry(rect());
    m_errorLayer->setGeometry(rect());
    m_layoutDirty = true;
    LayerCaption::resizeEvent(event);
}

void PageView::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange) {
        m_layoutDirty = true;
        const QSize before = pageSize();
        measureLines();
        if (pageSize() != before)
            emit pageSizeChanged();
    }
    LayerCaption::changeEvent(event);
}

void PageView::measureLines()
{
    const QRectF ink = inkOf(font());
    m_inkAbove = int(std::ceil(-ink.top()));
    m_lineHeight = m_inkAbove + int(std::ceil(ink.bottom())) + 1;
}

QSize PageView::pageSize() const
{
    const qreal lineWidth =
            QFontMetricsF(font()).horizontalAdvance(QString(TypingSession::kLineChars, u'国'));
    return { int(std::ceil(lineWidth)), TypingSession::kPageLines * m_lineHeight };
}

void PageView::layOutPage()
{
    m_paragraphs.clear();
    m_layoutDirty = false;
    const QString caption = text();
    const int size = int(caption.size());
    const int limit = std::min(size, kPageCharBudget);
    // Each line as high as its ink and a blank row, whatever line spacing
    // the faces standing in for Song declare.
    const qreal lineHeight = m_lineHeight;
    const qreal baseline = m_inkAbove;

    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    int lines = 0;
    int position = 0;
    while (lines < TypingSession::kPageLines && position < limit) {
        int end = position;
        while (end < limit && !isLineEnd(caption[end]))
            ++end;
        if (end > position) {
            auto layout =
                    std::make_unique<QTextLayout>(caption.mid(position, end - position), font());
            layout->setTextOption(option);
            layout->setCacheEnabled(true);
            layout->beginLayout();
            while (lines < TypingSession::kPageLines) {
                QTextLine line = layout->createLine();
                if (!line.isValid())
                    break;
                line.setLineWidth(width());
                line.setPosition(QPointF(0, lines * lineHeight + baseline - line.ascent()));
                ++lines;
            }
            layout->endLayout();
            m_paragraphs.push_back({ position, std::move(layout) });
        } else {
            ++lines;  // an empty line
        }
        if (end >= limit)
            break;
        // CR LF is one line end; a lone CR or LF is one too.
        position = end
                + ((caption[end] == u'\r' && end + 1 < size && caption[end + 1] == u'\n') ? 2 : 1);
    }
}

PageView::Shade PageView::shadeAt(int position, const QString &pageText, const QString &writeText,
                                  const QString &errorText)
{
    if (position < errorText.size()
        && errorText[position] != AnswerComparison::blankFor(pageText[position]))
        return Shade::Wrong;
    if (position < writeText.size())
        return Shade::Right;
    return Shade::Untyped;
}

void PageView::paintEvent(QPaintEvent *event)
{
    if (m_layoutDirty)
        layOutPage();
    QPainter painter(this);
    painter.fillRect(event->rect(), Qt::white);

    // Held by reference: a copy would be detached, whole, by every read.
    const QString &pageText = text();
    const QString &writeText = m_writeLayer->text();
    const QString &errorText = m_errorLayer->text();
    const QColor untypedColor = palette().color(QPalette::WindowText);
    for (const Paragraph &paragraph : m_paragraphs) {
        const QTextLayout &layout = *paragraph.layout;
        for (int l = 0; l < layout.lineCount(); ++l) {
            const QTextLine line = layout.lineAt(l);
            // A keystroke repaints a character or two: only the characters
            // under the repainted area (and one either side) are drawn.
            if (!event->region().intersects(
                        line.rect().translated(layout.position()).toAlignedRect()))
                continue;
            const QRectF area = QRectF(event->rect()).translated(-layout.position());
            const int lineStart =
                    std::max(line.textStart(),
                             line.xToCursor(area.left(), QTextLine::CursorOnCharacter) - 1);
            const int lineEnd =
                    std::min(line.textStart() + line.textLength(),
                             line.xToCursor(area.right(), QTextLine::CursorOnCharacter) + 2);
            // Each run of equally shaded characters is drawn once, in its
            // colour, from the glyphs the target layout placed for it.
            for (int from = lineStart; from < lineEnd;) {
                const Shade shade = shadeAt(paragraph.start + from, pageText, writeText, errorText);
                int to = from + 1;
                while (to < lineEnd
                       && shadeAt(paragraph.start + to, pageText, writeText, errorText) == shade)
                    ++to;
                painter.setPen(shade == Shade::Right           ? rightColor()
                                       : shade == Shade::Wrong ? wrongColor()
                                                               : untypedColor);
                const QList<QGlyphRun> runs = line.glyphRuns(from, to - from);
                for (const QGlyphRun &run : runs)
                    painter.drawGlyphRun(layout.position(), run);
                from = to;
            }
        }
    }
}
