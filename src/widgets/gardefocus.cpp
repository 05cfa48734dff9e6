#include "gardefocus.h"

#include "ctextbxn.h"
#include "platform/porteentrees.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QShortcutEvent>
#include <QWindow>
#include <QWidget>

namespace {
// The control that would take the focus from a press on w.
QWidget* cibleClic(QWidget* w, const QWidget* fenetre)
{
    for (; w; w = w->parentWidget()) {
        if (!w->isEnabled()) return nullptr;
        if (w->focusPolicy() & Qt::ClickFocus) break;
        if (w == fenetre || w->isWindow()) return nullptr;
    }
    while (w && w->focusProxy()) w = w->focusProxy();
    return w;
}

// A modal window other than this one, or one it was opened from, is up.
bool bloqueeParModale(const QWidget* fenetre)
{
    const QWidget* modale = QApplication::activeModalWidget();
    if (!modale) return false;
    for (const QWidget* w = fenetre; w; w = w->parentWidget())
        if (w == modale) return false;
    return true;
}

QWidget* cibleMnemonique(QWidget* w)
{
    if (auto* l = qobject_cast<QLabel*>(w)) w = l->buddy();
    while (w && w->focusProxy()) w = w->focusProxy();
    return w;
}
}

GardeFocus::GardeFocus(QWidget* fenetre) : QObject(fenetre), fenetre_(fenetre)
{
    qApp->installEventFilter(this);
}

GardeFocus::~GardeFocus()
{
    if (qApp) qApp->removeEventFilter(this);
}

GardeFocus* GardeFocus::de(const QWidget* fenetre)
{
    if (!fenetre) return nullptr;
    return fenetre->findChild<GardeFocus*>(QString(), Qt::FindDirectChildrenOnly);
}

void GardeFocus::definirValidation(QWidget* champ, std::function<bool()> valider)
{
    for (auto& [w, f] : validations_)
        if (w == champ) {
            f = std::move(valider);
            return;
        }
    validations_.emplace_back(champ, std::move(valider));
}

QWidget* GardeFocus::champFocus() const
{
    QWidget* f = QApplication::focusWidget();
    if (f && f->window() == fenetre_) return f;
    return fenetre_->focusWidget();
}

bool GardeFocus::validerFocus()
{
    return valider(champFocus());
}

bool GardeFocus::valider(QWidget* champ)
{
    // A move asked while the field's own message is up is swallowed.
    if (enValidation_) return false;
    if (!champ) return true;
    enValidation_ = true;
    bool accepte = true;
    bool trouve = false;
    for (auto& [w, f] : validations_)
        if (w == champ && f) {
            accepte = f();
            trouve = true;
            break;
        }
    if (!trouve)
        if (CTextBxN* v = CTextBxN::de(champ)) accepte = v->valider();
    enValidation_ = false;
    return accepte;
}

bool GardeFocus::validerAvant(QWidget* cible)
{
    if (!cible) return true;
    QWidget* champ = champFocus();
    if (!champ || cible == champ) return true;
    return validerFocus();
}

bool GardeFocus::cliquerBouton(QObject* objet, const QKeyEvent* k)
{
    // Enter on a focused command button (the key goes to the focus) clicks
    // it, as Space does; a dialog's default or auto-default button clicks
    // itself.
    auto* b = qobject_cast<QPushButton*>(objet);
    if (!b || b->autoDefault() || b->isDefault()) return false;
    if (k->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier)) return false;
    if (!k->isAutoRepeat() && b->isEnabled() && b->isVisible()) b->click();
    return true;
}

bool GardeFocus::cliquerMnemonique(QObject* objet, const QShortcutEvent* e)
{
    auto* b = qobject_cast<QAbstractButton*>(objet);
    if (!b || e->isAmbiguous()) return false;
    // As the button's own shortcut step does, without its delay.
    if (b->isEnabled() && b->isVisible()) {
        if (b->isCheckable() && (b->focusPolicy() & Qt::ClickFocus)) b->setFocus(Qt::ShortcutFocusReason);
        b->click();
    }
    return true;
}

bool GardeFocus::eventFilter(QObject* objet, QEvent* e)
{
    const QEvent::Type type = e->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick && type != QEvent::KeyPress
        && type != QEvent::Shortcut && type != QEvent::FocusIn)
        return false;
    // A second gate on the same window stays idle.
    if (de(fenetre_) != this) return false;
    if (type == QEvent::FocusIn) {
        // A focused button always shows the style's focus cue, also when
        // the focus came with a click (the style draws it only after a
        // keyboard focus change).
        auto* b = qobject_cast<QPushButton*>(objet);
        if (b && b->window() == fenetre_ && !fenetre_->testAttribute(Qt::WA_KeyboardFocusChange)) {
            fenetre_->setAttribute(Qt::WA_KeyboardFocusChange);
            b->update();
        }
        return false;
    }
    // During an exchange the input gate decides, whichever filter came first.
    if (echangeEnCours()) return false;
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        // Qt gives the focus to the pressed control before any widget sees
        // the press, so the press is taken where it reaches the window.
        if (!objet->isWindowType() || objet != fenetre_->windowHandle()) return false;
        const QPoint pos = static_cast<QMouseEvent*>(e)->position().toPoint();
        QWidget* w = fenetre_->childAt(pos);
        return !validerAvant(cibleClic(w ? w : fenetre_, fenetre_));
    }
    case QEvent::KeyPress: {
        if (!objet->isWidgetType() || static_cast<QWidget*>(objet)->window() != fenetre_) return false;
        auto* k = static_cast<QKeyEvent*>(e);
        if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) return cliquerBouton(objet, k);
        if (k->key() != Qt::Key_Tab && k->key() != Qt::Key_Backtab) return false;
        if (k->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return false;
        return !validerFocus();
    }
    case QEvent::Shortcut: {
        // Mnemonics.
        if (!objet->isWidgetType() || static_cast<QWidget*>(objet)->window() != fenetre_) return false;
        // Qt matches a mnemonic before it looks for a modal window.
        if (bloqueeParModale(fenetre_)) return true;
        if (!validerAvant(cibleMnemonique(static_cast<QWidget*>(objet)))) return true;
        return cliquerMnemonique(objet, static_cast<QShortcutEvent*>(e));
    }
    default:
        return false;
    }
}

bool validerChamp(QWidget* champ)
{
    if (!champ) return true;
    if (GardeFocus* g = GardeFocus::de(champ->window())) return g->valider(champ);
    if (CTextBxN* v = CTextBxN::de(champ)) return v->valider();
    return true;
}
