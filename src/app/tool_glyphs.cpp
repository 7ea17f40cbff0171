#include "app/tool_glyphs.h"

#include <QPainter>
#include <QPainterPath>

namespace olve {

namespace {

const QColor Ink(34, 58, 94);
const QColor Accent(214, 92, 38);

QPainterPath Triangle(double left, double top, double width, double height, bool pointsRight)
{
    QPainterPath path;
    if (pointsRight) {
        path.moveTo(left, top);
        path.lineTo(left + width, top + height / 2);
        path.lineTo(left, top + height);
    } else {
        path.moveTo(left + width, top);
        path.lineTo(left, top + height / 2);
        path.lineTo(left + width, top + height);
    }
    path.closeSubpath();
    return path;
}

void Bar(QPainter& p, double left, double top, double width, double height)
{
    QPainterPath path;
    path.addRoundedRect(QRectF(left, top, width, height), width / 3, width / 3);
    p.fillPath(path, p.brush());
}

// Draws on a 24 × 24 canvas.
void Draw(QPainter& p, TGlyph glyph)
{
    p.setPen(Qt::NoPen);
    p.setBrush(Ink);
    switch (glyph) {
    case TGlyph::Top:
        Bar(p, 4, 5, 3, 14);
        p.fillPath(Triangle(8, 5, 7, 14, false), Ink);
        p.fillPath(Triangle(14, 5, 7, 14, false), Ink);
        break;
    case TGlyph::Back:
        p.fillPath(Triangle(3, 5, 9, 14, false), Ink);
        p.fillPath(Triangle(11, 5, 9, 14, false), Ink);
        break;
    case TGlyph::Here: {
        QPen pen(Ink, 2.2, Qt::SolidLine, Qt::RoundCap);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(3, 3, 18, 18), 60 * 16, 280 * 16);
        p.setPen(Qt::NoPen);
        p.fillPath(Triangle(9, 7.5, 8, 9, true), Accent);
        p.fillPath(Triangle(15.5, 1.5, 5, 5, true), Ink);
        break;
    }
    case TGlyph::List:
        for (int row = 0; row < 3; ++row) {
            p.setBrush(Accent);
            Bar(p, 3, 5 + row * 6, 3, 3);
            p.setBrush(Ink);
            Bar(p, 8, 5.5 + row * 6, 13, 2.2);
        }
        break;
    case TGlyph::Next:
        p.fillPath(Triangle(4, 5, 9, 14, true), Ink);
        p.fillPath(Triangle(12, 5, 9, 14, true), Ink);
        break;
    case TGlyph::Stop:
        Bar(p, 6, 6, 12, 12);
        break;
    case TGlyph::Pause:
        Bar(p, 6, 5, 4, 14);
        Bar(p, 14, 5, 4, 14);
        break;
    case TGlyph::AutoPauseOff:
    case TGlyph::AutoPauseOn: {
        const bool on = glyph == TGlyph::AutoPauseOn;
        p.setBrush(on ? Accent : QColor(150, 160, 175));
        Bar(p, 13, 9, 3, 10);
        Bar(p, 18, 9, 3, 10);
        QFont font = p.font();
        font.setPixelSize(13);
        font.setBold(true);
        p.setFont(font);
        p.setPen(Ink);
        p.drawText(QRectF(1, 1, 12, 16), Qt::AlignCenter, "A");
        break;
    }
    case TGlyph::Speaker: {
        QPainterPath body;
        body.moveTo(3, 9);
        body.lineTo(7, 9);
        body.lineTo(12, 4);
        body.lineTo(12, 20);
        body.lineTo(7, 15);
        body.lineTo(3, 15);
        body.closeSubpath();
        p.fillPath(body, Ink);
        p.setPen(QPen(Ink, 1.8, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(10, 8, 6, 8), -50 * 16, 100 * 16);
        p.drawArc(QRectF(10, 5, 10, 14), -50 * 16, 100 * 16);
        break;
    }
    case TGlyph::Help: {
        p.setBrush(Ink);
        p.drawEllipse(QRectF(3, 3, 18, 18));
        QFont font = p.font();
        font.setPixelSize(14);
        font.setBold(true);
        p.setFont(font);
        p.setPen(Qt::white);
        p.drawText(QRectF(3, 3, 18, 18), Qt::AlignCenter, "?");
        break;
    }
    case TGlyph::Open: {
        // A folder with its flap open.
        QPainterPath back;
        back.moveTo(3, 6);
        back.lineTo(9, 6);
        back.lineTo(11, 8);
        back.lineTo(19, 8);
        back.lineTo(19, 19);
        back.lineTo(3, 19);
        back.closeSubpath();
        p.fillPath(back, Ink);
        QPainterPath flap;
        flap.moveTo(6, 11);
        flap.lineTo(22, 11);
        flap.lineTo(19, 19);
        flap.lineTo(3, 19);
        flap.closeSubpath();
        p.fillPath(flap, Accent);
        break;
    }
    }
}

}  // namespace

QPixmap GlyphPixmap(TGlyph glyph, int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 24.0, size / 24.0);
    Draw(painter, glyph);
    return pixmap;
}

QIcon GlyphIcon(TGlyph glyph)
{
    QIcon icon;
    for (int size : {16, 24, 32, 48})
        icon.addPixmap(GlyphPixmap(glyph, size));
    return icon;
}

}  // namespace olve
