#pragma once
// Desktop services on Qt: message boxes with the original styles and
// answers, open/save file dialogs, the printer dialog, beep, the mouse pointer as an absolute
// state, and the program end.

#include "servicesui.h"

#include <QString>

class ServicesUiQt : public IServicesUi {
public:
    int msgBox(const QString& texte, int style, const QString& titre) override;
    QString dialogueOuvrir(const DialogueFichier& d) override;
    QString dialogueSauver(const DialogueFichier& d) override;
    bool dialogueImprimante(IImprimante& imprimante, const QString& titre) override;
    void beep() override;
    void pointeurSouris(int forme) override;
    void terminerProgramme() override;

    // Title of boxes without a title of their own.
    static QString titreProgramme() { return QStringLiteral("Zelto"); }
    // "Text Files(*.mnc)|*.mnc" as Qt's filter list.
    static QString filtreQt(const QString& filtre);
    // Extension of the filter's first plain "*.ext" pattern ("mnc"), else empty.
    static QString suffixeParDefaut(const QString& filtre);

private:
    bool sablier_ = false;
};
