#include "windows/artwork.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QtMath>

namespace artwork {

namespace {

constexpr int kImageSide = 32;

void drawHelp(QPainter &p)
{
    p.setPen(QPen(QColor(0x1f, 0x4e, 0x9c), 1.5));
    p.setBrush(QColor(0x3a, 0x7b, 0xd5));
    p.drawEllipse(QRectF(2, 2, 28, 28));
    QFont font = p.font();
    font.setPixelSize(22);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(2, 2, 28, 28), Qt::AlignCenter, QStringLiteral("?"));
}

void drawSettings(QPainter &p)
{
    // A gear: eight teeth around a ring.
    p.translate(16, 16);
    p.setPen(QPen(QColor(0x44, 0x44, 0x44), 1));
    p.setBrush(QColor(0x8a, 0x8f, 0x98));
    for (int i = 0; i < 8; ++i) {
        p.drawRect(QRectF(-3, -15, 6, 8));
        p.rotate(45);
    }
    p.drawEllipse(QPointF(0, 0), 10.5, 10.5);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(0, 0), 4.5, 4.5);
}

void drawClearLast(QPainter &p)
{
    // A waste bin.
    p.setPen(QPen(QColor(0x50, 0x50, 0x50), 1.5));
    p.setBrush(QColor(0xd8, 0xdc, 0xe2));
    QPolygonF body;
    body << QPointF(8, 10) << QPointF(24, 10) << QPointF(22, 29) << QPointF(10, 29);
    p.drawPolygon(body);
    p.drawRect(QRectF(5, 6, 22, 4));
    p.drawRect(QRectF(13, 3, 6, 3));
    for (qreal x : { 12.5, 16.0, 19.5 })
        p.drawLine(QPointF(x, 13), QPointF(x, 26));
}

void drawBegin(QPainter &p)
{
    // Green: the way in is open.
    p.setPen(QPen(QColor(0x1b, 0x6e, 0x20), 1.5));
    p.setBrush(QColor(0x3c, 0xaa, 0x46));
    p.drawEllipse(QRectF(2, 2, 28, 28));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    QPolygonF arrow;
    arrow << QPointF(12, 8.5) << QPointF(24, 16) << QPointF(12, 23.5);
    p.drawPolygon(arrow);
}

void drawStop(QPainter &p)
{
    // A red octagon with a white bar.
    QPolygonF octagon;
    for (int i = 0; i < 8; ++i) {
        const qreal angle = qDegreesToRadians(22.5 + 45.0 * i);
        octagon << QPointF(16 + 14.5 * qCos(angle), 16 + 14.5 * qSin(angle));
    }
    p.setPen(QPen(QColor(0x8b, 0x10, 0x10), 1.5));
    p.setBrush(QColor(0xd6, 0x2a, 0x2a));
    p.drawPolygon(octagon);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(8, 13.5, 16, 5));
}

void drawFresh(QPainter &p)
{
    // A sheet of results with a circling arrow: fetch the results again.
    p.setPen(QPen(QColor(0x60, 0x60, 0x60), 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(3.5, 2.5, 17, 22));
    p.setPen(QPen(QColor(0x90, 0x90, 0x90), 1));
    for (int y = 7; y <= 19; y += 4)
        p.drawLine(QPointF(6.5, y + 0.5), QPointF(17.5, y + 0.5));
    const QRectF ring(13, 13, 16, 16);
    p.setPen(QPen(QColor(0x1f, 0x6f, 0xc4), 3, Qt::SolidLine, Qt::FlatCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(ring, 90 * 16, 270 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x1f, 0x6f, 0xc4));
    QPolygonF head;
    head << QPointF(29.5, 21) << QPointF(23.5, 21) << QPointF(26.5, 16.5);
    p.drawPolygon(head);
}

void drawRoster(QPainter &p)
{
    // A class list on a clipboard, ticked names: who is expected.
    p.setPen(QPen(QColor(0x7a, 0x55, 0x30), 1));
    p.setBrush(QColor(0xc8, 0x96, 0x5a));
    p.drawRoundedRect(QRectF(4.5, 3.5, 23, 27), 2, 2);
    p.setPen(QPen(QColor(0x60, 0x60, 0x60), 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(7.5, 6.5, 17, 21));
    p.setBrush(QColor(0x90, 0x90, 0x90));
    p.drawRoundedRect(QRectF(11.5, 1.5, 9, 5), 1.5, 1.5);
    for (int y = 11; y <= 23; y += 4) {
        p.setPen(QPen(QColor(0x2e, 0x9e, 0x3e), 1.5));
        p.drawLine(QPointF(9.5, y), QPointF(11, y + 1.5));
        p.drawLine(QPointF(11, y + 1.5), QPointF(13.5, y - 1.5));
        p.setPen(QPen(QColor(0x90, 0x90, 0x90), 1));
        p.drawLine(QPointF(15.5, y + 0.5), QPointF(22.5, y + 0.5));
    }
}

}  // namespace

QIcon toolbarImage(const QString &imageKey)
{
    using Draw = void (*)(QPainter &);
    Draw draw = nullptr;
    if (imageKey == QLatin1String("help"))
        draw = drawHelp;
    else if (imageKey == QLatin1String("set"))
        draw = drawSettings;
    else if (imageKey == QLatin1String("clearlast"))
        draw = drawClearLast;
    else if (imageKey == QLatin1String("begin"))
        draw = drawBegin;
    else if (imageKey == QLatin1String("fresh"))
        draw = drawFresh;
    else if (imageKey == QLatin1String("stop"))
        draw = drawStop;
    else if (imageKey == QLatin1String("roster"))
        draw = drawRoster;
    if (!draw)
        return {};
    QPixmap pixmap(kImageSide, kImageSide);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter);
    painter.end();
    return QIcon(pixmap);
}

QPixmap productPicture(int side)
{
    // A keyboard under a page of text: typing from a given text.
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(side / 100.0, side / 100.0);
    p.setPen(QPen(QColor(0x55, 0x55, 0x55), 1.5));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(22, 6, 56, 46));
    p.setPen(QPen(QColor(0x3a, 0x7b, 0xd5), 3));
    for (int y = 16; y <= 42; y += 8)
        p.drawLine(QPointF(29, y), QPointF(y == 42 ? 55 : 71, y));
    p.setPen(QPen(QColor(0x33, 0x33, 0x33), 1.5));
    p.setBrush(QColor(0x5a, 0x60, 0x6b));
    p.drawRoundedRect(QRectF(6, 58, 88, 36), 5, 5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xee, 0xee, 0xee));
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 10; ++col)
            p.drawRoundedRect(QRectF(10.5 + col * 8 + row * 2, 62 + row * 8.5, 6.5, 6.5), 1, 1);
    p.drawRoundedRect(QRectF(28, 86, 44, 5), 1, 1);
    return pixmap;
}

}  // namespace artwork
