#include "servicesuiscriptes.h"

int ServicesUiScriptes::msgBox(const QString& texte, int style, const QString& titre)
{
    MessageVu m{texte, style, titre};
    messages.push_back(m);
    if (pendantMessage) pendantMessage(m);
    if (!reponses.empty()) {
        const int r = reponses.front();
        reponses.pop_front();
        return r;
    }
    const int boutons = style & 0x7;
    if (boutons == msg::okSeul) return msg::ok;
    if (boutons == msg::okAnnuler) return msg::ok;
    return reponseParDefaut;
}

QString ServicesUiScriptes::dialogueOuvrir(const DialogueFichier& d)
{
    dialoguesOuvrir.push_back(d);
    if (fichiers.empty()) return QString();
    QString f = fichiers.front();
    fichiers.pop_front();
    return f;
}

QString ServicesUiScriptes::dialogueSauver(const DialogueFichier& d)
{
    dialoguesSauver.push_back(d);
    if (fichiers.empty()) return QString();
    QString f = fichiers.front();
    fichiers.pop_front();
    return f;
}

bool ServicesUiScriptes::dialogueImprimante(IImprimante&, const QString& titre)
{
    dialoguesImprimante.push_back(titre);
    if (reponsesImprimante.empty()) return reponseImprimanteParDefaut;
    const bool r = reponsesImprimante.front();
    reponsesImprimante.pop_front();
    return r;
}
