#pragma once
// Services the program asks of the desktop: message boxes, file dialogs,
// printer dialog, beep, mouse pointer, program end. Tests script and record
// them.

#include <QString>

class IImprimante;

// Message box styles and answers (values of the original window system).
namespace msg {
constexpr int okSeul = 0;
constexpr int okAnnuler = 1;
constexpr int ouiNonAnnuler = 3;
constexpr int ouiNon = 4;
constexpr int critique = 16;
constexpr int question = 32;
constexpr int exclamation = 48;
constexpr int information = 64;
constexpr int premierPlan = 0x10000;   // brought to the foreground

constexpr int ok = 1;
constexpr int annuler = 2;
constexpr int oui = 6;
constexpr int non = 7;
}

struct DialogueFichier {
    QString dossierInitial;
    QString titre;
    QString filtre;               // "Text Files(*.mnc)|*.mnc"
    bool confirmerEcrasement = false;
};

namespace pointeur {
constexpr int normal = 0;
constexpr int sablier = 11;
}

class IServicesUi {
public:
    virtual ~IServicesUi() = default;
    // Shows a message box; an empty title gives the program's title.
    // Returns the button pressed (msg::ok, msg::oui...).
    virtual int msgBox(const QString& texte, int style, const QString& titre) = 0;
    // Full path chosen, or empty when the user cancelled.
    virtual QString dialogueOuvrir(const DialogueFichier& d) = 0;
    virtual QString dialogueSauver(const DialogueFichier& d) = 0;
    // Printer dialog for the printer's next job, without page range or
    // selection; true when the user confirmed.
    virtual bool dialogueImprimante(IImprimante& imprimante, const QString& titre) = 0;
    virtual void beep() = 0;
    // Absolute pointer state for every window: pointeur::sablier or normal.
    virtual void pointeurSouris(int forme) = 0;
    // Ends the program once the current handler returns.
    virtual void terminerProgramme() = 0;
};
