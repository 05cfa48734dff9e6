#include "controlesnommes.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QValidator>
#include <QWidget>

namespace {
class LimiteSaisie : public QValidator {
public:
    LimiteSaisie(QLineEdit* champ, int max) : QValidator(champ), champ_(champ), max_(max) {}

    State validate(QString& texte, int& /*position*/) const override
    {
        return texte.size() > max_ && texte.size() > champ_->text().size() ? Invalid : Acceptable;
    }

private:
    QLineEdit* champ_;
    int max_;
};
}

namespace controlesNommes {

QWidget* trouver(const QWidget* fenetre, const QString& nom)
{
    if (fenetre->objectName() == nom) return const_cast<QWidget*>(fenetre);
    QWidget* w = fenetre->findChild<QWidget*>(nom);
    if (!w)
        qFatal("%s has no control named %s", qPrintable(fenetre->objectName()), qPrintable(nom));
    return w;
}

void ecrireTexte(QWidget* controle, const QString& texte)
{
    if (auto* e = qobject_cast<QLineEdit*>(controle)) e->setText(texte);
    else if (auto* l = qobject_cast<QLabel*>(controle)) l->setText(texte);
    else if (auto* b = qobject_cast<QAbstractButton*>(controle)) b->setText(texte);
    else if (auto* g = qobject_cast<QGroupBox*>(controle)) g->setTitle(texte);
    else qFatal("control %s holds no text", qPrintable(controle->objectName()));
}

QString lireTexte(const QWidget* controle)
{
    if (auto* e = qobject_cast<const QLineEdit*>(controle)) return e->text();
    if (auto* l = qobject_cast<const QLabel*>(controle)) return l->text();
    if (auto* b = qobject_cast<const QAbstractButton*>(controle)) return b->text();
    if (auto* g = qobject_cast<const QGroupBox*>(controle)) return g->title();
    qFatal("control %s holds no text", qPrintable(controle->objectName()));
    return QString();
}

void limiterSaisie(QLineEdit* champ, int longueurMax)
{
    champ->setValidator(new LimiteSaisie(champ, longueurMax));
}

}
