#include "ordretabulation.h"

#include <QCoreApplication>
#include <QLayout>
#include <QMainWindow>
#include <QSet>
#include <QWidget>

#include <algorithm>
#include <vector>

namespace {
// A control, or the controls of a layout or container, with its place in
// the window.
struct Bloc {
    QRect rect;
    std::vector<QWidget*> controles;
};

QRect dansFenetre(const QWidget* parent, const QRect& r, const QWidget* fenetre)
{
    return {parent->mapTo(fenetre, r.topLeft()), r.size()};
}

// Rows top to bottom: a block joins the row of the topmost one left when it
// starts before that one ends. Left to right within a row.
std::vector<QWidget*> enOrdre(std::vector<Bloc> blocs)
{
    auto haut = [](const Bloc& a, const Bloc& b) { return a.rect.top() < b.rect.top(); };
    auto gauche = [](const Bloc& a, const Bloc& b) { return a.rect.left() < b.rect.left(); };
    std::stable_sort(blocs.begin(), blocs.end(), haut);
    std::vector<QWidget*> ordre;
    for (std::size_t debut = 0; debut < blocs.size();) {
        std::size_t fin = debut + 1;
        while (fin < blocs.size() && blocs[fin].rect.top() <= blocs[debut].rect.bottom()) ++fin;
        std::stable_sort(blocs.begin() + debut, blocs.begin() + fin, gauche);
        for (std::size_t i = debut; i < fin; ++i)
            ordre.insert(ordre.end(), blocs[i].controles.begin(), blocs[i].controles.end());
        debut = fin;
    }
    return ordre;
}

std::vector<QWidget*> controlesDe(QWidget* conteneur, const QWidget* fenetre);

void ajouterWidget(std::vector<Bloc>& blocs, QWidget* w, const QWidget* fenetre)
{
    if (w->isWindow()) return;
    const QRect r = dansFenetre(w, w->rect(), fenetre);
    if (w->focusPolicy() != Qt::NoFocus) {
        blocs.push_back({r, {w}});
        return;
    }
    std::vector<QWidget*> c = controlesDe(w, fenetre);
    if (!c.empty()) blocs.push_back({r, std::move(c)});
}

void ajouterLayout(std::vector<Bloc>& blocs, QLayout* l, const QWidget* fenetre, QSet<QWidget*>& vus)
{
    for (int i = 0; i < l->count(); ++i) {
        QLayoutItem* item = l->itemAt(i);
        if (QWidget* w = item->widget()) {
            vus.insert(w);
            ajouterWidget(blocs, w, fenetre);
        } else if (QLayout* sous = item->layout()) {
            std::vector<Bloc> interieurs;
            ajouterLayout(interieurs, sous, fenetre, vus);
            std::vector<QWidget*> c = enOrdre(std::move(interieurs));
            if (!c.empty())
                blocs.push_back({dansFenetre(sous->parentWidget(), sous->geometry(), fenetre), std::move(c)});
        }
    }
}

std::vector<QWidget*> controlesDe(QWidget* conteneur, const QWidget* fenetre)
{
    std::vector<Bloc> blocs;
    QSet<QWidget*> vus;
    // A main window's own layout holds its areas, not its controls.
    QLayout* l = qobject_cast<QMainWindow*>(conteneur) ? nullptr : conteneur->layout();
    if (l) ajouterLayout(blocs, l, fenetre, vus);
    for (QObject* o : conteneur->children())
        if (auto* w = qobject_cast<QWidget*>(o); w && !vus.contains(w)) ajouterWidget(blocs, w, fenetre);
    return enOrdre(std::move(blocs));
}
}

void ordonnerTabulation(QWidget* fenetre)
{
    if (!fenetre) return;
    // Texts set by the load and activation steps resize the controls, one
    // level of nested layouts per round of posted requests.
    for (int niveau = 0; niveau < 8; ++niveau) QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    const std::vector<QWidget*> ordre = controlesDe(fenetre, fenetre);
    for (std::size_t i = 1; i < ordre.size(); ++i) QWidget::setTabOrder(ordre[i - 1], ordre[i]);
}
