#include "surfacegraphe.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPalette>

SurfaceGraphe::SurfaceGraphe(QWidget* parent) : QWidget(parent)
{
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, p.color(QPalette::Base));
    setPalette(p);
}

void SurfaceGraphe::echelle(int x1, int y1, int x2, int y2)
{
    x1_ = x1;
    y1_ = y1;
    x2_ = x2 == x1 ? x1 + 1 : x2;
    y2_ = y2 == y1 ? y1 + 1 : y2;
    update();
}

void SurfaceGraphe::effacer()
{
    traces_.clear();
    update();
}

void SurfaceGraphe::ligne(int x1, int y1, int x2, int y2, const QColor& couleur)
{
    traces_.push_back({false, QPoint(x1, y1), QPoint(x2, y2), QString(), couleur});
    update();
}

void SurfaceGraphe::texte(int x, int y, const QString& t, const QColor& couleur)
{
    traces_.push_back({true, QPoint(x, y), QPoint(x, y), t, couleur});
    update();
}

QColor SurfaceGraphe::fond() const { return palette().color(QPalette::Window); }

QPointF SurfaceGraphe::versPixels(const QPoint& p) const
{
    return QPointF((p.x() - x1_) * double(width()) / (x2_ - x1_), (p.y() - y1_) * double(height()) / (y2_ - y1_));
}

void SurfaceGraphe::paintEvent(QPaintEvent*)
{
    QPainter peintre(this);
    const QFontMetrics fm(font());
    for (const TraceGraphe& t : traces_) {
        peintre.setPen(t.couleur);
        if (!t.estTexte) {
            peintre.drawLine(versPixels(t.a), versPixels(t.b));
            continue;
        }
        const QPointF coin = versPixels(t.a);
        const QRectF cadre(coin, QSizeF(fm.horizontalAdvance(t.texte) + 1, fm.height()));
        // An erasing text clears its whole cell, as printing over it did.
        if (t.couleur == fond()) peintre.fillRect(cadre, fond());
        peintre.drawText(cadre, Qt::AlignLeft | Qt::AlignTop, t.texte);
    }
}
