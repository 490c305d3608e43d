#include "app/Artwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace app {

namespace {

QPixmap Transparente(int width, int height) {
    QPixmap pixmap(width, height);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

QPixmap Bola(const QColor& cor) {
    QPixmap pixmap = Transparente(16, 16);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QRadialGradient brilho(QPointF(6, 5), 9);
    brilho.setColorAt(0, cor.lighter(190));
    brilho.setColorAt(0.45, cor);
    brilho.setColorAt(1, cor.darker(160));
    painter.setPen(QPen(cor.darker(200), 0.8));
    painter.setBrush(brilho);
    painter.drawEllipse(QRectF(1.5, 1.5, 13, 13));
    return pixmap;
}

void Seta(QPainter& painter, const QPointF& ponta, double angulo, double tamanho) {
    painter.save();
    painter.translate(ponta);
    painter.rotate(angulo);
    QPainterPath path;
    path.moveTo(0, 0);
    path.lineTo(-tamanho, -tamanho * 0.6);
    path.lineTo(-tamanho, tamanho * 0.6);
    path.closeSubpath();
    painter.fillPath(path, painter.pen().color());
    painter.restore();
}

} // namespace

QPixmap IconeAplicativo() {
    QPixmap pixmap = Transparente(32, 32);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fundo(0, 0, 0, 32);
    fundo.setColorAt(0, QColor(70, 140, 230));
    fundo.setColorAt(1, QColor(20, 70, 160));
    painter.setPen(QPen(QColor(15, 50, 120), 1));
    painter.setBrush(fundo);
    painter.drawRoundedRect(QRectF(1.5, 1.5, 29, 29), 6, 6);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    QPainterPath seta;
    seta.moveTo(13, 5);
    seta.lineTo(19, 5);
    seta.lineTo(19, 14);
    seta.lineTo(24, 14);
    seta.lineTo(16, 22);
    seta.lineTo(8, 14);
    seta.lineTo(13, 14);
    seta.closeSubpath();
    painter.drawPath(seta);
    painter.setPen(QPen(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolyline(QPolygonF({QPointF(6, 20), QPointF(6, 26), QPointF(26, 26), QPointF(26, 20)}));
    return pixmap;
}

QPixmap FundoPrincipal() {
    QImage imagem(1100, 600, QImage::Format_RGB888);
    QPainter painter(&imagem);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fundo(0, 0, 1100, 600);
    fundo.setColorAt(0, QColor(236, 245, 255));
    fundo.setColorAt(0.55, QColor(200, 225, 250));
    fundo.setColorAt(1, QColor(170, 205, 242));
    painter.fillRect(imagem.rect(), fundo);
    painter.setPen(Qt::NoPen);
    for (int faixa = 0; faixa < 6; ++faixa) {
        QPainterPath onda;
        double base = 140 + faixa * 85;
        onda.moveTo(0, base);
        onda.cubicTo(300, base - 90, 700, base + 60, 1100, base - 40);
        onda.lineTo(1100, base + 18);
        onda.cubicTo(700, base + 100, 300, base - 40, 0, base + 30);
        onda.closeSubpath();
        painter.setBrush(QColor(255, 255, 255, 38 + faixa * 6));
        painter.drawPath(onda);
    }
    return QPixmap::fromImage(imagem);
}

QPixmap GlifoAtualizar() {
    QPixmap pixmap = Transparente(20, 20);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor verde(30, 150, 50);
    painter.setPen(QPen(verde, 2.4, Qt::SolidLine, Qt::FlatCap));
    QRectF circulo(3.5, 3.5, 13, 13);
    painter.drawArc(circulo, 100 * 16, 140 * 16);
    painter.drawArc(circulo, 280 * 16, 140 * 16);
    Seta(painter, QPointF(16.5, 7.5), 100, 4.5);
    Seta(painter, QPointF(3.5, 12.5), -80, 4.5);
    return pixmap;
}

QPixmap GlifoSair() {
    QPixmap pixmap = Transparente(20, 20);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(90, 60, 30), 1));
    painter.setBrush(QColor(185, 135, 80));
    painter.drawRect(QRectF(2.5, 1.5, 9, 17));
    painter.setBrush(QColor(60, 40, 20));
    painter.drawEllipse(QRectF(8.5, 9.5, 1.6, 1.6));
    QColor vermelho(200, 30, 30);
    painter.setPen(QPen(vermelho, 2.2, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(11, 10), QPointF(16, 10));
    Seta(painter, QPointF(19, 10), 0, 4);
    return pixmap;
}

void PreencherBolas(runtime::TImageList& lista) {
    struct Estado {
        QColor cor;
        const char* descricao;
    };
    const Estado estados[] = {{QColor(0, 170, 0), "Atualizado"},
                              {QColor(0, 170, 0), "Atualizado"},
                              {QColor(20, 90, 230), "Aguardando"},
                              {QColor(255, 140, 0), "Transferindo"},
                              {QColor(220, 20, 20), "Desatualizado ou com falha"}};
    for (const Estado& estado : estados)
        lista.Add(Bola(estado.cor), estado.descricao);
}

} // namespace app
