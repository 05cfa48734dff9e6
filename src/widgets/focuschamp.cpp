#include "focuschamp.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFocusEvent>
#include <QPalette>
#include <QPointer>
#include <QWidget>

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

void couleursFocusOption(QAbstractButton* option)
{
    surFocus(
        option,
        [option] {
            const QPalette systeme = QApplication::palette(option);
            QPalette p = option->palette();
            p.setColor(QPalette::Window, systeme.color(QPalette::Button));
            p.setColor(QPalette::WindowText, systeme.color(QPalette::HighlightedText));
            p.setColor(QPalette::ButtonText, systeme.color(QPalette::HighlightedText));
            option->setAutoFillBackground(true);
            option->setPalette(p);
        },
        [option] {
            const QPalette systeme = QApplication::palette(option);
            QPalette p = option->palette();
            p.setColor(QPalette::WindowText, systeme.color(QPalette::ButtonText));
            p.setColor(QPalette::ButtonText, systeme.color(QPalette::ButtonText));
            option->setPalette(p);
        });
}
