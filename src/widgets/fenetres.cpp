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
#include <QRegion>
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
// Client size the window has, or will have once shown.
QSize tailleFenetre(QWidget* f)
{
    if (f->isVisible() || f->testAttribute(Qt::WA_Resized)) return f->size();
    // What show() will give it.
    f->adjustSize();
    f->setAttribute(Qt::WA_Resized, false);
    return f->size();
}

bool expose(const QWidget* f)
{
    const QWindow* w = f->windowHandle();
    return f->isVisible() && w && w->isExposed();
}

QMargins margesVisibles(const QWidget* f)
{
    const QRect g = f->geometry();
    const QRect c = f->frameGeometry();
    return {g.left() - c.left(), g.top() - c.top(), c.right() - g.right(), c.bottom() - g.bottom()};
}

// Borders the window system puts around the window: its own once it is on
// the screen, else those of another of the program's windows on the screen.
QMargins margesCadre(const QWidget* f)
{
    if (expose(f)) return margesVisibles(f);
    for (const QWidget* w : QApplication::topLevelWidgets()) {
        if (w == f || !expose(w) || w->windowType() == Qt::Popup || w->windowType() == Qt::ToolTip) continue;
        const QMargins m = margesVisibles(w);
        if (!m.isNull()) return m;
    }
    return {};
}

// Top-left of the frame of window numero, of that frame size.
QPoint positionCadre(int numero, const QWidget* fenetre, const QSize& cadre)
{
    const bool indice = numero >= 1 && numero <= 13;
    const PositionFenetre pos = indice ? positionsFenetres[numero] : PositionFenetre{};
    QPoint p;
    if (numero != numeroFenetre::frmSplash && (pos.Left != 0 || pos.Top != 0)) {
        p = QPoint(twipsVersPixels(pos.Left), twipsVersPixels(pos.Top));
    } else {
        double gauche, haut, largeur, hauteur;
        IFenetrePrincipale* principale = plateforme().principale;
        if (principale && numero != numeroFenetre::fondEcran) {
            gauche = principale->leftTwips();
            haut = principale->topTwips();
            largeur = principale->widthTwips();
            hauteur = principale->heightTwips();
        } else {
            const QScreen* ecran = fenetre->screen() ? fenetre->screen() : QGuiApplication::primaryScreen();
            const QRect r = ecran ? ecran->availableGeometry() : QRect(0, 0, 800, 600);
            gauche = pixelsVersTwips(r.x());
            haut = pixelsVersTwips(r.y());
            largeur = pixelsVersTwips(r.width());
            hauteur = pixelsVersTwips(r.height());
        }
        const double left = gauche + largeur / 2 - pixelsVersTwips(cadre.width()) / 2.0;
        const double top = haut + hauteur / 2 - pixelsVersTwips(cadre.height()) / 2.0;
        p = QPoint(static_cast<int>(std::lround(left / twipsParPixel)), static_cast<int>(std::lround(top / twipsParPixel)));
    }
    return positionSurUnEcran(p, cadre);
}

// Puts the window's frame at cadre; m: the frame's borders.
void deplacerCadre(QWidget* f, const QPoint& cadre, const QMargins& m)
{
    if (!f->testAttribute(Qt::WA_WState_Created)) {
        // Not yet known to the window system: the position is the frame's.
        f->move(cadre);
        return;
    }
    // move() puts the client area at the point plus the borders Qt knows,
    // none before the window manager framed the window.
    const QPoint connues = f->geometry().topLeft() - f->pos();
    f->move(cadre + QPoint(m.left(), m.top()) - connues);
}

// A window's place follows its frame size until that size is final: the
// layout sizes the window when it shows, texts set by its first activation
// resize it again, and the window manager's borders are known only once the
// window is on the screen.
class SuiviPlacement : public QObject {
public:
    explicit SuiviPlacement(QWidget* f) : QObject(f), f_(f) { f->installEventFilter(this); }

    static SuiviPlacement* de(QWidget* f)
    {
        for (QObject* o : f->children())
            if (auto* s = dynamic_cast<SuiviPlacement*>(o)) return s;
        return nullptr;
    }

    void placer(int numero)
    {
        numero_ = numero;
        actif_ = true;
        // A program window's texts are final after its first activation.
        activationFaite_ = !f_->inherits("FenetreZelto");
        cadre_ = QSize();
        suivre();
    }

    void finir()
    {
        if (!actif_) return;
        // Texts set by the activation resize the window through the layouts,
        // one level of nested layouts per round of posted requests.
        for (int niveau = 0; niveau < 8; ++niveau) QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        suivre();
        activationFaite_ = true;
        if (expose(f_) || !f_->isVisible()) actif_ = false;
    }

protected:
    bool eventFilter(QObject* objet, QEvent* e) override
    {
        if (objet != f_ || !actif_) return false;
        switch (e->type()) {
        case QEvent::Hide:
            if (!e->spontaneous()) actif_ = false;
            break;
        case QEvent::Resize:
        case QEvent::Move:
        case QEvent::Show:
            suivre();
            break;
        case QEvent::Paint:
            // On the screen: the borders are known.
            suivre();
            if (activationFaite_ && expose(f_)) actif_ = false;
            break;
        default: break;
        }
        return false;
    }

private:
    void suivre()
    {
        if (enCours_) return;
        const QMargins m = margesCadre(f_);
        const QSize cadre = tailleFenetre(f_).grownBy(m);
        if (cadre == cadre_) return;
        cadre_ = cadre;
        enCours_ = true;
        deplacerCadre(f_, positionCadre(numero_, f_, cadre), m);
        enCours_ = false;
    }

    QWidget* f_;
    int numero_ = 0;
    bool actif_ = false;
    bool activationFaite_ = true;
    bool enCours_ = false;
    QSize cadre_;
};
}

void placerFenetre(int numeroFenetre, QWidget* fenetre)
{
    if (!fenetre) return;
    SuiviPlacement* s = SuiviPlacement::de(fenetre);
    if (!s) s = new SuiviPlacement(fenetre);
    s->placer(numeroFenetre);
}

void finirPlacement(QWidget* fenetre)
{
    if (!fenetre) return;
    if (SuiviPlacement* s = SuiviPlacement::de(fenetre)) s->finir();
}

QPoint positionSurUnEcran(const QPoint& position, const QSize& taille)
{
    const QRect r(position, taille.expandedTo(QSize(1, 1)));
    // Fits when no part of it lies outside the available areas.
    QRegion dehors(r);
    for (const QScreen* e : QGuiApplication::screens()) dehors -= QRegion(e->availableGeometry());
    if (dehors.isEmpty()) return position;
    // Else inside the screen it overlaps most, or the nearest one.
    const QScreen* proche = nullptr;
    long long meilleure = 0;
    for (const QScreen* e : QGuiApplication::screens()) {
        const QRect g = e->availableGeometry();
        const QRect commun = g.intersected(r);
        long long note;
        if (!commun.isEmpty()) {
            note = -static_cast<long long>(commun.width()) * commun.height();
        } else {
            const long long dx = std::max({0, g.left() - r.right(), r.left() - g.right()});
            const long long dy = std::max({0, g.top() - r.bottom(), r.top() - g.bottom()});
            note = dx * dx + dy * dy;
        }
        if (!proche || note < meilleure) {
            proche = e;
            meilleure = note;
        }
    }
    if (!proche) return position;
    const QRect g = proche->availableGeometry();
    // As close as it fits; a frame larger than the area keeps its top-left
    // corner (the title bar) inside.
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
