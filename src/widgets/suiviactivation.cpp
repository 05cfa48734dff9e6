#include "suiviactivation.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace {
QPointer<QWidget>& derniereActivee()
{
    static QPointer<QWidget> d;
    return d;
}
}

SuiviActivation::SuiviActivation(QWidget* fenetre, std::function<void()> Form_Activate)
    : QObject(fenetre), fenetre_(fenetre), activate_(std::move(Form_Activate))
{
    fenetre->installEventFilter(this);
}

QWidget* SuiviActivation::derniere()
{
    return derniereActivee();
}

void SuiviActivation::oublier()
{
    derniereActivee() = nullptr;
}

SuiviActivation* SuiviActivation::de(const QWidget* fenetre)
{
    if (!fenetre) return nullptr;
    return fenetre->findChild<SuiviActivation*>(QString(), Qt::FindDirectChildrenOnly);
}

void SuiviActivation::activer()
{
    // A disabled window (an opener while its child is open) is not
    // activated, even when the window system brings it forward.
    if (!fenetre_->isEnabled()) return;
    if (!premiere_ && derniereActivee() == fenetre_) return;
    premiere_ = false;
    derniereActivee() = fenetre_;
    if (activate_) activate_();
}

void SuiviActivation::passerLaMain()
{
    // A disabled window takes no keys: brought forward (by the window
    // manager after a dialog closed, or by a click), it hands the activation
    // to the program window that has the hand, as long as no modal box is up.
    QWidget* d = derniereActivee();
    if (!d || d == fenetre_ || !d->isVisible() || !d->isEnabled() || QApplication::activeModalWidget()) return;
    QTimer::singleShot(0, d, [d = QPointer<QWidget>(d)] {
        if (!d || !d->isVisible() || !d->isEnabled() || QApplication::activeModalWidget()) return;
        d->raise();
        d->activateWindow();
    });
}

void SuiviActivation::demanderActivation()
{
    fenetre_->raise();
    fenetre_->activateWindow();
    // The window system may deliver the activation late, or not at all.
    QTimer::singleShot(0, this, [this] {
        if (fenetre_->isVisible()) activer();
    });
}

bool SuiviActivation::eventFilter(QObject* objet, QEvent* e)
{
    if (objet != fenetre_) return false;
    if (e->type() == QEvent::Show && !e->spontaneous()) {
        premiere_ = true;
        QTimer::singleShot(0, this, [this] {
            if (premiere_ && fenetre_->isVisible()) activer();
        });
    } else if (e->type() == QEvent::WindowActivate) {
        if (!fenetre_->isEnabled()) passerLaMain();
        else activer();
    } else if (e->type() == QEvent::EnabledChange && fenetre_->isEnabled() && fenetre_->isActiveWindow()) {
        // Brought forward while it was disabled: activated now.
        activer();
    }
    return false;
}
