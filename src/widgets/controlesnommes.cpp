#include "controlesnommes.h"

#include <QAbstractButton>
#include <QClipboard>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>

namespace {
// Limits what the user types or pastes into a field; a text set by the
// program stays whole (a length limit of the field itself would cut it).
class LimiteSaisie : public QObject {
public:
    LimiteSaisie(QLineEdit* champ, int max) : QObject(champ), champ_(champ), max_(max)
    {
        champ->installEventFilter(this);
    }
    void fixer(int max) { max_ = max; }

protected:
    bool eventFilter(QObject* /*objet*/, QEvent* e) override
    {
        if (e->type() != QEvent::KeyPress) return false;
        auto* touche = static_cast<QKeyEvent*>(e);
        QString ajout;
        if (touche->matches(QKeySequence::Paste)) ajout = QGuiApplication::clipboard()->text();
        else if (!touche->text().isEmpty() && touche->text().at(0).isPrint()) ajout = touche->text();
        else return false;
        const int avant = champ_->text().size();
        const int apres = avant - champ_->selectedText().size() + ajout.size();
        return apres > max_ && apres > avant;
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
    // One limit per field, changed in place when the field sets it again.
    for (QObject* o : champ->children())
        if (auto* l = dynamic_cast<LimiteSaisie*>(o)) {
            l->fixer(longueurMax);
            return;
        }
    new LimiteSaisie(champ, longueurMax);
}

}
