#include "fenetres.h"

#include "gardefocus.h"
#include "link/fenetreprincipale.h"
#include "model/etat.h"
#include "platform/horloge.h"
#include "platform/plateforme.h"
#include "platform/registrefenetres.h"
#include "platform/servicesui.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <cmath>

int twipsVersPixels(int twips)
{
    return static_cast<int>(std::lround(static_cast<double>(twips) / twipsParPixel));
}

namespace {
QSize tailleFenetre(const QWidget* f)
{
    if (f->isVisible()) return f->frameGeometry().size();
    if (f->testAttribute(Qt::WA_Resized)) return f->size();
    return f->sizeHint().expandedTo(f->minimumSize());
}
}

void placerFenetre(int numeroFenetre, QWidget* fenetre)
{
    if (!fenetre) return;
    const bool indice = numeroFenetre >= 1 && numeroFenetre <= 13;
    const PositionFenetre pos = indice ? positionsFenetres[numeroFenetre] : PositionFenetre{};
    if ((pos.Left == 0 && pos.Top == 0) || numeroFenetre == numeroFenetre::frmSplash) {
        const QSize taille = tailleFenetre(fenetre);
        double gauche, haut, largeur, hauteur;
        if (IFenetrePrincipale* p = plateforme().principale) {
            gauche = p->leftTwips();
            haut = p->topTwips();
            largeur = p->widthTwips();
            hauteur = p->heightTwips();
        } else {
            const QScreen* ecran = fenetre->screen() ? fenetre->screen() : QGuiApplication::primaryScreen();
            const QRect r = ecran ? ecran->availableGeometry() : QRect(0, 0, 800, 600);
            gauche = pixelsVersTwips(r.x());
            haut = pixelsVersTwips(r.y());
            largeur = pixelsVersTwips(r.width());
            hauteur = pixelsVersTwips(r.height());
        }
        const double left = gauche + largeur / 2 - pixelsVersTwips(taille.width()) / 2.0;
        const double top = haut + hauteur / 2 - pixelsVersTwips(taille.height()) / 2.0;
        fenetre->move(static_cast<int>(std::lround(left / twipsParPixel)),
                      static_cast<int>(std::lround(top / twipsParPixel)));
    } else {
        fenetre->move(positionSurUnEcran(QPoint(twipsVersPixels(pos.Left), twipsVersPixels(pos.Top)),
                                         tailleFenetre(fenetre)));
    }
}

QPoint positionSurUnEcran(const QPoint& position, const QSize& taille)
{
    const QRect r(position, taille.expandedTo(QSize(1, 1)));
    const QScreen* proche = nullptr;
    long long meilleure = 0;
    for (const QScreen* e : QGuiApplication::screens()) {
        const QRect g = e->geometry();
        if (g.intersects(r)) return position;
        const long long dx = std::max({0, g.left() - r.right(), r.left() - g.right()});
        const long long dy = std::max({0, g.top() - r.bottom(), r.top() - g.bottom()});
        const long long d = dx * dx + dy * dy;
        if (!proche || d < meilleure) {
            proche = e;
            meilleure = d;
        }
    }
    if (!proche) return position;
    const QRect g = proche->availableGeometry();
    const int x = std::clamp(position.x(), g.left(), std::max(g.left(), g.right() + 1 - r.width()));
    const int y = std::clamp(position.y(), g.top(), std::max(g.top(), g.bottom() + 1 - r.height()));
    return {x, y};
}

void memoriserPosition(int numeroFenetre, const QWidget* fenetre)
{
    if (!fenetre || numeroFenetre < 1 || numeroFenetre > 13) return;
    positionsFenetres[numeroFenetre].Left = twips16(pixelsVersTwips(fenetre->x()));
    positionsFenetres[numeroFenetre].Top = twips16(pixelsVersTwips(fenetre->y()));
}

int codeTouche(const QKeyEvent* e)
{
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return touche::enter;
    case Qt::Key_Tab: return touche::tab;
    case Qt::Key_Up: return touche::haut;
    case Qt::Key_Down: return touche::bas;
    default: break;
    }
    // Printable keys other than letters, digits and space are moved out of
    // the range of the codes above: "(" is Qt key 40, "&" Qt key 38.
    const int k = e->key();
    if ((k >= Qt::Key_0 && k <= Qt::Key_9) || (k >= Qt::Key_A && k <= Qt::Key_Z) || k == Qt::Key_Space) return k;
    return k < 0x100 ? k + 0x10000 : k;
}

void enterVersTab(int& KeyAscii)
{
    if (KeyAscii == touche::enter) deplacerFocus(true);
}

void flechesVersTab(int& KeyCode)
{
    if (KeyCode == touche::haut) deplacerFocus(false);
    else if (KeyCode == touche::bas) deplacerFocus(true);
}

namespace {
bool prendTab(const QWidget* w, const QWidget* fenetre)
{
    return w->window() == fenetre && (w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus && !w->focusProxy()
        && w->isVisibleTo(fenetre) && w->isEnabled();
}
}

bool deplacerFocus(bool suivant, QWidget* depuis)
{
    if (!depuis) depuis = QApplication::focusWidget();
    if (!depuis) return true;
    if (!validerChamp(depuis)) return false;
    const QWidget* fenetre = depuis->window();
    QWidget* w = depuis;
    for (;;) {
        w = suivant ? w->nextInFocusChain() : w->previousInFocusChain();
        if (!w || w == depuis) return true;
        if (prendTab(w, fenetre)) break;
    }
    w->setFocus(suivant ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}

void peindreAvantAttente(std::initializer_list<QWidget*> fenetres, double borne)
{
    auto exposees = [&] {
        for (QWidget* w : fenetres) {
            if (!w || !w->isVisible()) continue;
            const QWindow* f = w->windowHandle();
            if (!f || !f->isExposed()) return false;
        }
        return true;
    };
    IHorloge& h = horloge();
    const double debut = h.maintenant();
    // Under a window manager a window is exposed only once the manager has
    // mapped it, some time after show().
    for (;;) {
        h.traiterEvenements();
        if (exposees() || programmeTermine || h.maintenant() - debut >= borne) break;
        h.attendre(0.01);
    }
    for (QWidget* w : fenetres)
        if (w && w->isVisible()) w->repaint();
}

QPushButton* creerBouton(QWidget* parent, const QString& nom, std::function<void()> clic)
{
    auto* b = new QPushButton(parent);
    b->setObjectName(nom);
    b->setAutoDefault(false);
    b->setDefault(false);
    QObject::connect(b, &QPushButton::clicked, b, [clic = std::move(clic)] { clic(); });
    return b;
}

bool refuserSiOccupe(bool& Cancel)
{
    if (!travailEnCours) return false;
    Cancel = true;
    ui().beep();
    return true;
}
