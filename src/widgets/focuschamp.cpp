#include "focuschamp.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFocusEvent>
#include <QPalette>
#include <QPointer>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace {
int profondeurParCode = 0;
QPointer<QWidget> focusAvantCode;

bool versAutreFenetre(Qt::FocusReason raison)
{
    return raison == Qt::ActiveWindowFocusReason || raison == Qt::PopupFocusReason;
}

bool peutPrendreFocus(const QWidget* w, const QWidget* fenetre)
{
    return w && w->window() == fenetre && w->focusPolicy() != Qt::NoFocus && w->isEnabled()
        && w->isVisibleTo(fenetre);
}

// The first control of the window in tab order that can take the focus.
QWidget* premierControle(QWidget* fenetre)
{
    for (QWidget* w = fenetre->nextInFocusChain(); w && w != fenetre; w = w->nextInFocusChain())
        if (peutPrendreFocus(w, fenetre) && (w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus && !w->focusProxy())
            return w;
    return nullptr;
}

class PremierFocus : public QObject {
public:
    explicit PremierFocus(QWidget* fenetre) : QObject(fenetre), fenetre_(fenetre) {}

    static PremierFocus* de(const QWidget* fenetre)
    {
        if (!fenetre) return nullptr;
        for (QObject* o : fenetre->children())
            if (auto* p = dynamic_cast<PremierFocus*>(o)) return p;
        return nullptr;
    }

    bool retenu() const { return retenu_; }

    void retenir()
    {
        if (!retenu_) qApp->installEventFilter(this);
        retenu_ = true;
        // Set by the load steps.
        choisi_ = fenetre_->focusWidget();
        vu_ = false;
        sortieForcee_ = false;
    }

    void finir()
    {
        if (!retenu_) return;
        retenu_ = false;
        qApp->removeEventFilter(this);
    }

    void donner()
    {
        if (!retenu_) return;
        finir();
        // Set while the window had no keys: no focus event told it.
        if (!vu_ && fenetre_->focusWidget()) choisi_ = fenetre_->focusWidget();
        QWidget* cible = peutPrendreFocus(choisi_, fenetre_) ? choisi_.data() : premierControle(fenetre_);
        if (!cible) return;
        if (cible->hasFocus()) {
            QFocusEvent e(QEvent::FocusIn, Qt::OtherFocusReason);
            QCoreApplication::sendEvent(cible, &e);
        } else {
            // Without the keys the window gives it on activation.
            cible->setFocus(Qt::OtherFocusReason);
        }
    }

protected:
    bool eventFilter(QObject* objet, QEvent* e) override
    {
        if (objet == fenetre_) {
            if (e->type() == QEvent::Hide && !e->spontaneous()) finir();
            return false;
        }
        if (e->type() != QEvent::FocusIn && e->type() != QEvent::FocusOut) return false;
        if (!objet->isWidgetType() || static_cast<QWidget*>(objet)->window() != fenetre_) return false;
        auto* w = static_cast<QWidget*>(objet);
        const auto raison = static_cast<QFocusEvent*>(e)->reason();
        if (e->type() == QEvent::FocusOut) {
            sortieForcee_ = !w->isEnabled() || !w->isVisibleTo(fenetre_);
            return false;
        }
        vu_ = true;
        if (!versAutreFenetre(raison) && !sortieForcee_) choisi_ = w;
        sortieForcee_ = false;
        return false;
    }

private:
    QWidget* fenetre_;
    QPointer<QWidget> choisi_;
    bool retenu_ = false;
    bool vu_ = false;            // a focus event came during the wait
    bool sortieForcee_ = false;  // the focus left a control disabled or hidden
};

bool focusRetenu(const QWidget* controle)
{
    const PremierFocus* p = PremierFocus::de(controle->window());
    return p && p->retenu();
}
}

void oublierFocus(QWidget* fenetre)
{
    if (!fenetre || fenetre->isVisible()) return;
    FocusParCode parCode;
    if (QWidget* w = fenetre->focusWidget()) w->clearFocus();
}

void retenirPremierFocus(QWidget* fenetre)
{
    if (!fenetre) return;
    PremierFocus* p = PremierFocus::de(fenetre);
    if (!p) p = new PremierFocus(fenetre);
    p->retenir();
}

void donnerPremierFocus(QWidget* fenetre)
{
    if (PremierFocus* p = PremierFocus::de(fenetre)) p->donner();
}

EvenementsFocus::EvenementsFocus(QWidget* controle, std::function<void()> got, std::function<void()> lost)
    : QObject(controle), gotFocus(std::move(got)), lostFocus(std::move(lost))
{
    controle->installEventFilter(this);
}

bool EvenementsFocus::eventFilter(QObject* objet, QEvent* e)
{
    switch (e->type()) {
    case QEvent::Show:
        // A window shown again starts afresh.
        suspendu_ = false;
        break;
    case QEvent::FocusIn: {
        if (FocusParCode::actif()) break;
        if (focusRetenu(static_cast<QWidget*>(objet))) {
            suspendu_ = false;
            aLeFocus_ = false;
            break;
        }
        const auto raison = static_cast<QFocusEvent*>(e)->reason();
        if (versAutreFenetre(raison) && suspendu_) {
            suspendu_ = false;
            break;
        }
        suspendu_ = false;
        aLeFocus_ = true;
        if (gotFocus) gotFocus();
        break;
    }
    case QEvent::FocusOut: {
        const auto raison = static_cast<QFocusEvent*>(e)->reason();
        if (versAutreFenetre(raison)) {
            // Only a focus whose step ran comes back without one.
            suspendu_ = aLeFocus_;
            break;
        }
        const bool avait = aLeFocus_;
        aLeFocus_ = false;
        if (FocusParCode::actif() || !avait) break;
        if (lostFocus) lostFocus();
        break;
    }
    default:
        break;
    }
    return false;
}

FocusParCode::FocusParCode()
{
    if (profondeurParCode++ == 0) focusAvantCode = QApplication::focusWidget();
}

FocusParCode::~FocusParCode()
{
    if (--profondeurParCode != 0) return;
    QWidget* f = QApplication::focusWidget();
    if (f && f != focusAvantCode) f->clearFocus();
    focusAvantCode = nullptr;
}

bool FocusParCode::actif() { return profondeurParCode > 0; }

EvenementsFocus* surFocus(QWidget* controle, std::function<void()> gotFocus, std::function<void()> lostFocus)
{
    return new EvenementsFocus(controle, std::move(gotFocus), std::move(lostFocus));
}

void couleurFocus(QWidget* controle, QPalette::ColorRole role, const QColor& couleur)
{
    QPalette p = controle->palette();
    p.setColor(QPalette::Active, role, couleur);
    p.setColor(QPalette::Inactive, role, couleur);
    controle->setPalette(p);
}

void couleurSysteme(QWidget* controle, QPalette::ColorRole role)
{
    const QPalette systeme = QApplication::palette(controle);
    QPalette p = controle->palette();
    p.setColor(QPalette::Active, role, systeme.color(QPalette::Active, role));
    p.setColor(QPalette::Inactive, role, systeme.color(QPalette::Inactive, role));
    controle->setPalette(p);
}

namespace {
double luminance(const QColor& c)
{
    auto lineaire = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * lineaire(c.redF()) + 0.7152 * lineaire(c.greenF()) + 0.0722 * lineaire(c.blueF());
}

double contraste(const QColor& a, const QColor& b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

class FinDeFocus : public QObject {
public:
    FinDeFocus(QWidget* controle, std::function<void()> retablir) : QObject(controle), retablir_(std::move(retablir))
    {
        controle->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* objet, QEvent* e) override
    {
        const bool fin = (e->type() == QEvent::Hide && !e->spontaneous())
                         || (e->type() == QEvent::EnabledChange && !static_cast<QWidget*>(objet)->isEnabled());
        if (fin && retablir_) retablir_();
        return false;
    }

private:
    std::function<void()> retablir_;
};

// The option's colours follow its focus itself, not its got / lost focus
// steps: a focus lost to a message box keeps them, any other end of the
// focus puts them back.
class CouleursOption : public QObject {
public:
    CouleursOption(QAbstractButton* option, const QColor& fond) : QObject(option), option_(option), fond_(fond)
    {
        option->installEventFilter(this);
        retablirEnFinDeFocus(option, [this] { retablir(); });
    }

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::FocusIn) {
            if (!focusRetenu(option_)) colorer();
        } else if (e->type() == QEvent::FocusOut && !versAutreFenetre(static_cast<QFocusEvent*>(e)->reason()))
            retablir();
        return false;
    }

private:
    void colorer()
    {
        const QColor fond = fond_.isValid() ? fond_ : QApplication::palette(option_).color(QPalette::Highlight);
        const QColor texte = texteSurFond(option_, fond);
        couleurFocus(option_, QPalette::Window, fond);
        couleurFocus(option_, QPalette::WindowText, texte);
        couleurFocus(option_, QPalette::ButtonText, texte);
        option_->setAutoFillBackground(true);
    }
    void retablir()
    {
        for (auto role : {QPalette::Window, QPalette::WindowText, QPalette::ButtonText}) couleurSysteme(option_, role);
        option_->setAutoFillBackground(false);
    }

    QAbstractButton* option_;
    QColor fond_;
};
}

QColor texteSurFond(const QWidget* controle, const QColor& fond)
{
    const QPalette systeme = QApplication::palette(controle);
    const QColor voulu = systeme.color(QPalette::HighlightedText);
    const QColor texte = systeme.color(QPalette::ButtonText);
    if (contraste(voulu, fond) >= 4.5 || contraste(voulu, fond) >= contraste(texte, fond)) return voulu;
    return texte;
}

QObject* retablirEnFinDeFocus(QWidget* controle, std::function<void()> retablir)
{
    return new FinDeFocus(controle, std::move(retablir));
}

void couleursFocusOption(QAbstractButton* option, const QColor& fond)
{
    new CouleursOption(option, fond);
}
