#include "components/Glyphs.h"

#include <QPainter>
#include <QPainterPath>

namespace components {

namespace {

// A block arrow pointing right, centred on height y: its shaft runs from
// tail to neck, shaftHalf above and below y, its head from neck to the tip,
// headHalf above and below y. Drawn with a darker outline.
void SetaDireita(QPainter& painter, const QColor& color, double y, double tail, double neck, double tip,
                 double shaftHalf, double headHalf) {
    QPainterPath seta;
    seta.moveTo(tail, y - shaftHalf);
    seta.lineTo(neck, y - shaftHalf);
    seta.lineTo(neck, y - headHalf);
    seta.lineTo(tip, y);
    seta.lineTo(neck, y + headHalf);
    seta.lineTo(neck, y + shaftHalf);
    seta.lineTo(tail, y + shaftHalf);
    seta.closeSubpath();
    painter.setPen(QPen(color.darker(155), 1));
    painter.setBrush(color);
    painter.drawPath(seta);
}

QPixmap Transparente(int width, int height) {
    QPixmap pixmap(width, height);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

} // namespace

QPixmap GlifoPortaSaida() {
    QPixmap pixmap = Transparente(22, 22);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    // The door frame, dark inside, and the door leaf swung open towards the viewer.
    painter.setPen(QPen(QColor(80, 50, 20), 1));
    painter.setBrush(QColor(40, 30, 25));
    painter.drawRect(QRectF(11.5, 1.5, 8, 19));
    QPainterPath folha;
    folha.moveTo(19.5, 1.5);
    folha.lineTo(15.5, 4.5);
    folha.lineTo(15.5, 21.5);
    folha.lineTo(19.5, 20.5);
    folha.closeSubpath();
    painter.setBrush(QColor(190, 130, 70));
    painter.drawPath(folha);
    SetaDireita(painter, QColor(0, 200, 220), 11, 1.5, 8, 14.5, 2, 5.5);
    return pixmap;
}

QPixmap GlifoSetaVermelha() {
    QPixmap pixmap = Transparente(19, 20);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    SetaDireita(painter, QColor(210, 20, 20), 10, 1.5, 9.5, 17.5, 2.5, 7.5);
    return pixmap;
}

} // namespace components
