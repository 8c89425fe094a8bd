// SPDX-FileCopyrightText: 2026 Kestrix developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The target text area: the target page with the right and wrong positions
// laid over it. The three layers keep their own captions, but the target
// page is laid out once and each overlay character is drawn from the
// target's own glyph at its position, so blue and red always sit exactly on
// the character they mark, in any font.
#include <QWidget>

#include <memory>
#include <vector>

class QTextLayout;

// A layer of the display: holds its caption; the page view draws it.
class LayerCaption : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString text READ text)
public:
    explicit LayerCaption(QWidget *parent = nullptr);

    const QString &text() const { return m_text; }
    void setText(const QString &text);

protected:
    virtual void captionChanged(const QString &previous);

private:
    QString m_text;
};

// LblGetText: paints its own caption (the target from the page on) and the
// captions of its two overlay layers LblWrite and LblError.
class PageView : public LayerCaption
{
    Q_OBJECT
public:
    explicit PageView(QWidget *parent = nullptr);
    ~PageView() override;

    LayerCaption *writeLayer() const { return m_writeLayer; }
    LayerCaption *errorLayer() const { return m_errorLayer; }

    // The height and width a page of eleven lines of 34 full-width
    // characters needs in the widget's font.
    QSize pageSize() const;

    static QColor rightColor();
    static QColor wrongColor();

    // Repaints the lines where an overlay caption differs from before.
    void overlayChanged(const QString &previous, const QString &current);

signals:
    // The font changed the size a page needs.
    void pageSizeChanged();

protected:
    void captionChanged(const QString &previous) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    enum class Shade { Untyped, Right, Wrong };
    struct Paragraph
    {
        int start = 0;  // position of its first character in the caption
        std::unique_ptr<QTextLayout> layout;
    };

    void measureLines();
    void layOutPage();
    static Shade shadeAt(int position, const QString &pageText, const QString &writeText,
                         const QString &errorText);

    LayerCaption *m_writeLayer = nullptr;
    LayerCaption *m_errorLayer = nullptr;
    std::vector<Paragraph> m_paragraphs;
    bool m_layoutDirty = true;
    // A line's height in the widget's font: the ink of its tallest signs,
    // with the faces that stand in for missing ones, and one blank pixel row
    // so that no glyph touches the line below.
    int m_lineHeight = 0;
    int m_inkAbove = 0;  // from the top of a line to its baseline
};
