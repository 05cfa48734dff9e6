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
}

EvenementsFocus::EvenementsFocus(QWidget* controle, std::function<void()> got, std::function<void()> lost)
    : QObject(controle), gotFocus(std::move(got)), lostFocus(std::move(lost))
{
    controle->installEventFilter(this);
}

bool EvenementsFocus::eventFilter(QObject* /*objet*/, QEvent* e)
{
    switch (e->type()) {
    case QEvent::Show:
        // A window shown again starts afresh.
        suspendu_ = false;
        break;
    case QEvent::FocusIn: {
        if (FocusParCode::actif()) break;
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
            suspendu_ = true;
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
        if (e->type() == QEvent::FocusIn) colorer();
        else if (e->type() == QEvent::FocusOut && !versAutreFenetre(static_cast<QFocusEvent*>(e)->reason()))
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
