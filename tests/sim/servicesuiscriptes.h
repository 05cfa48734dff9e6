#pragma once
// Desktop services for tests: message boxes, file and printer dialogs
// answer from a script, and everything asked is recorded.

#include "platform/servicesui.h"

#include <QString>

#include <deque>
#include <functional>
#include <vector>

struct MessageVu {
    QString texte;
    int style = 0;
    QString titre;
    int icone() const { return style & 0x70; }
    int boutons() const { return style & 0x7; }
};

class ServicesUiScriptes : public IServicesUi {
public:
    int msgBox(const QString& texte, int style, const QString& titre) override;
    QString dialogueOuvrir(const DialogueFichier& d) override;
    QString dialogueSauver(const DialogueFichier& d) override;
    bool dialogueImprimante(IImprimante&, const QString& titre) override;
    void beep() override { ++beeps; }
    void pointeurSouris(int forme) override { pointeurCourant = forme; pointeurs.push_back(forme); }
    void terminerProgramme() override { ++nbTerminer; }

    // Answers of the next message boxes, in order; when empty an OK box
    // answers ok and a question answers reponseParDefaut.
    std::deque<int> reponses;
    int reponseParDefaut = msg::oui;
    // Called when a box is shown (after it is recorded), e.g. to act meanwhile.
    std::function<void(const MessageVu&)> pendantMessage;
    // Paths the next file dialogs return ("" = cancelled).
    std::deque<QString> fichiers;
    // Answers of the next printer dialogs (true = print); when empty,
    // reponseImprimanteParDefaut.
    std::deque<bool> reponsesImprimante;
    bool reponseImprimanteParDefaut = true;

    std::vector<MessageVu> messages;
    std::vector<DialogueFichier> dialoguesOuvrir;
    std::vector<DialogueFichier> dialoguesSauver;
    std::vector<QString> dialoguesImprimante;   // titles
    int beeps = 0;
    std::vector<int> pointeurs;
    int pointeurCourant = 0;
    int nbTerminer = 0;
};
