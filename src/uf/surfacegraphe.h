#pragma once
// Picture box of the U/F chart: lines and texts drawn in chart units, kept
// as a list and painted scaled to the widget, so the picture survives any
// repaint and can be read back.

#include <QColor>
#include <QPoint>
#include <QString>
#include <QWidget>

#include <vector>

struct TraceGraphe {
    bool estTexte = false;
    QPoint a;          // line start, or top-left of a text
    QPoint b;          // line end
    QString texte;
    QColor couleur;
};

class SurfaceGraphe : public QWidget {
    Q_OBJECT
public:
    explicit SurfaceGraphe(QWidget* parent = nullptr);

    // Chart units of the top-left and bottom-right corners.
    void echelle(int x1, int y1, int x2, int y2);
    void effacer();
    void ligne(int x1, int y1, int x2, int y2, const QColor& couleur);
    void texte(int x, int y, const QString& texte, const QColor& couleur);

    const std::vector<TraceGraphe>& traces() const { return traces_; }
    // The background colour (texts printed in it erase).
    QColor fond() const;

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    QPointF versPixels(const QPoint& p) const;

    int x1_ = 0, y1_ = 0, x2_ = 1, y2_ = 1;
    std::vector<TraceGraphe> traces_;
};
