#include "statut.h"

#include "focuschamp.h"

#include <QEvent>
#include <QLabel>
#include <QPointer>
#include <QStatusBar>

namespace {
class SurvolIndication : public QObject {
public:
    SurvolIndication(QWidget* controle, std::function<void()> ecrire)
        : QObject(controle), ecrire_(std::move(ecrire))
    {
        controle->setMouseTracking(true);
        // The move stops here: the window's own move would clear the hint.
        controle->setAttribute(Qt::WA_NoMousePropagation);
        controle->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::MouseMove) ecrire_();
        return false;
    }

private:
    std::function<void()> ecrire_;
};
}

QLabel* creerPanneau1(QStatusBar* barre)
{
    auto* panneau = new QLabel(barre);
    panneau->setTextFormat(Qt::PlainText);
    panneau->setFrameShape(QFrame::Panel);
    panneau->setFrameShadow(QFrame::Sunken);
    barre->addPermanentWidget(panneau, 1);
    return panneau;
}

void ajouterIndication(QWidget* controle, QLabel* panneau, std::function<QString()> texte, bool effacerEnSortie)
{
    QPointer<QLabel> p(panneau);
    auto ecrire = [p, texte] {
        if (p) p->setText(texte ? texte() : QString());
    };
    std::function<void()> effacer;
    if (effacerEnSortie)
        effacer = [p] {
            if (p) p->clear();
        };
    surFocus(controle, ecrire, effacer);
    new SurvolIndication(controle, ecrire);
}

void ajouterIndication(QWidget* controle, QLabel* panneau, const QString& texte, bool effacerEnSortie)
{
    ajouterIndication(controle, panneau, [texte] { return texte; }, effacerEnSortie);
}
