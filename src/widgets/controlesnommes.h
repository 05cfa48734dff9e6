#pragma once
// The controls of a window found by their own names ("editTxt(3)", "downBtn"),
// for the windows that the core writes into. A name that no control of the
// window has, or a text asked of a control that holds none, is a programming
// error: it stops the program.

#include "fenetrezelto.h"

#include <QLabel>
#include <QString>

class QLineEdit;
class QWidget;

namespace controlesNommes {
// The window itself or one of its controls.
QWidget* trouver(const QWidget* fenetre, const QString& nom);
// Text of a field, caption of a label, button or frame.
void ecrireTexte(QWidget* controle, const QString& texte);
QString lireTexte(const QWidget* controle);
// At most that many characters can be typed into the field; a longer text
// set by the program stays whole and can still be shortened.
void limiterSaisie(QLineEdit* champ, int longueurMax);
}

// A window seen by the core through the view Vue (an IVue): texts, enabling
// and showing of its controls by name, and its status panel 1. A window that
// keeps its controls otherwise overrides controle().
template <class Vue>
class FenetreVue : public FenetreZelto, public Vue {
public:
    using FenetreZelto::FenetreZelto;
    using QWidget::setEnabled;
    using QWidget::setVisible;

    bool estVisible() const override { return isVisible(); }
    void setTexte(const QString& nom, const QString& t) override { controlesNommes::ecrireTexte(controle(nom), t); }
    QString texte(const QString& nom) const override { return controlesNommes::lireTexte(controle(nom)); }
    void setEnabled(const QString& nom, bool actif) override { controle(nom)->setEnabled(actif); }
    void setVisible(const QString& nom, bool visible) override { controle(nom)->setVisible(visible); }
    void setTexteStatut(const QString& t) override { panneau1()->setText(t); }

    // The control of that name; an unknown name stops the program.
    virtual QWidget* controle(const QString& nom) const { return controlesNommes::trouver(this, nom); }
};
