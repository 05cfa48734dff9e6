#include "transaction.h"

#include "decodeurs.h"
#include "fenetreprincipale.h"
#include "model/etat.h"
#include "model/session.h"
#include "platform/horloge.h"
#include "platform/plateforme.h"
#include "platform/porteentrees.h"
#include "platform/portserie.h"
#include "platform/registrefenetres.h"
#include "platform/servicesui.h"
#include "resources/chaines.h"
#include "resources/idschaines.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr char16_t BS = 8;
constexpr char16_t LF = 10;
constexpr char16_t CR = 13;
constexpr char16_t FIN = 26;          // converter's end of reply
constexpr int nbCases = 300;          // slots of the reply clean-up
constexpr int nbTentatives = 4;
constexpr double delaiReponse = 4.0;  // reply gathered at most this long
constexpr double delaiTardif = 2.0;   // beyond this the reply is late
constexpr double pasAttente = 0.02;   // blocking step between event rounds

bool enTransaction = false;

// Sending is possible: on line and the program not ending.
bool peutEnvoyer()
{
    return !programmeTermine && enLigne();
}

void viderEntree(ISerialPort& port)
{
    while (port.inBufferCount() != 0) port.input();
}

} // namespace

// Silence or a port whose device went away: off line without a message.
void liaisonPerdue()
{
    // Nothing usable came: no caller reads an earlier exchange's reply.
    reponse.clear();
    tamponReception.clear();
    IFenetrePrincipale* p = plateforme().principale;
    if (p->MSComm1().isOpen()) p->MSComm1().close();
    p->selectionnerHorsLigne();
    if (registre().estAffichee(numeroFenetre::menuStart)) flagExit = true;
    fermerFenetres();
    passerHorsLigne();
    pointeurSourisPartout(pointeur::normal);
}

void portPerdu()
{
    if (programmeTermine || !enLigne()) return;
    // A transaction or the watchdog's probe waiting on the port finds it
    // closed and takes the same road.
    if (enTransaction || plateforme().principale->sondeEnCours()) return;
    liaisonPerdue();
}

namespace {

// Late reply: a link loss with a message. Off line before the box, so that
// nothing goes out while it is up; the windows close once the exchange has
// returned.
void reponseTardive()
{
    IFenetrePrincipale* p = plateforme().principale;
    if (p->MSComm1().isOpen()) p->MSComm1().close();
    p->selectionnerHorsLigne();
    pointeurSourisPartout(pointeur::normal);
    ui().msgBox(texteChaine(ids::reponseTropTardive), msg::critique | msg::okSeul, texteChaine(ids::messageTitre));
    liaisonPerdue();
}

// Sends a text character by character (CR left out), then the terminator.
void envoyerTexte(const QString& texte)
{
    finCommande = false;
    for (const QChar c : texte) {
        if (!peutEnvoyer()) return;
        if (c.unicode() == CR) continue;
        envoyerCaractere(QString(c));
    }
    finCommande = true;
    envoyerCaractere(QString());
    finCommande = false;
}

// The value a write puts on the wire: what follows the key, "," as ".".
QString valeurEcrite(const QString& commande, const QString& cle)
{
    QString v = commande.mid(cle.length());
    v.replace(u',', u'.');
    return v;
}

// Mode "B": the digits and decimal signs of the reply, a comma counting as a point.
QString chiffresEtPoints(const QString& texte)
{
    QString r;
    for (const QChar c : texte) {
        if ((c >= u'0' && c <= u'9') || c == u'.') r += c;
        else if (c == u',') r += u'.';
    }
    return r;
}

struct GardeTransaction {
    GardeTransaction() { enTransaction = true; }
    ~GardeTransaction() { enTransaction = false; }
};

} // namespace

bool liaisonOccupee() { return enTransaction; }

void attenteTimer(double secondes)
{
    IHorloge& h = horloge();
    const double debut = h.maintenant();
    while (!programmeTermine) {
        h.traiterEvenements();
        const double reste = secondes - (h.maintenant() - debut);
        if (reste <= 0 || programmeTermine) break;
        h.attendre(std::min(reste, pasAttente));
    }
}

void attentePrecise(float secondes)
{
    if (programmeTermine || secondes <= 0) return;
    horloge().attendre(secondes);
}

bool attenteEcho(QString& tampon)
{
    IFenetrePrincipale* p = plateforme().principale;
    if (programmeTermine || !p) return false;
    ISerialPort& port = p->MSComm1();
    IHorloge& h = horloge();
    // Deadline: now + 2 s rounded to a whole second (1.5 to 2.5 s away).
    const double limite = std::round(h.maintenant() + 2.0);
    while (port.inBufferCount() == 0 && port.isOpen()) {
        const double reste = limite - h.maintenant();
        if (reste <= 0) break;
        h.attendreDonnees(port, reste);
    }
    if (port.inBufferCount() == 0) return false;
    tampon = QString::fromLatin1(port.input());
    return !tampon.isEmpty() && tampon != QLatin1String(">");
}

QString nettoyerReponse(const QString& brut)
{
    constexpr int vide = -1;
    std::array<int, nbCases> cases;
    cases.fill(vide);
    const int n = std::min<int>(brut.size(), nbCases);
    for (int i = 0; i < n; ++i) cases[i] = brut.at(i).unicode();

    int debut = 2;
    if (cases[2] == u'<') {
        debut = 1;
        for (int k = 0; k <= n - 3; ++k) {
            const int a = cases[k], b = cases[k + 1], c = cases[k + 2];
            if (a == u'>' && b == LF && c == CR) {
                debut = k + 3;
            } else if (a == BS && b == u' ' && c == BS) {
                if (k >= 1) cases[k - 1] = vide;
                cases[k] = vide;
                cases[k + 2] = vide;
            } else if (a == BS && b == u' ' && c == LF) {
                cases[k] = u';';
            }
        }
    }

    QString r;
    for (int i = debut; i < nbCases; ++i) {
        const int c = cases[i];
        if (c == vide || c == BS || c == LF || c == CR) continue;
        r += QChar(static_cast<char16_t>(c));
    }
    return r;
}

void envoyerCaractere(const QString& caractere)
{
    if (!peutEnvoyer()) return;
    IFenetrePrincipale* p = plateforme().principale;
    ISerialPort& port = p->MSComm1();

    if (!finCommande) {
        attentePrecise(0.001f);
        if (!peutEnvoyer()) return;
        viderEntree(port);
        QString c = caractere;
        c.replace(u',', u'.');
        port.output(c.toLatin1());
        attenteEcho(tamponReception);
        // The device went away: no more echo waits.
        if (!port.isOpen()) liaisonPerdue();
        return;
    }

    viderEntree(port);
    tamponReception.clear();
    reponse.clear();
    port.output(QByteArray(1, '\n'));

    IHorloge& h = horloge();
    const double debut = h.maintenant();
    while (true) {
        h.traiterEvenements();
        // Taken off line (or ending) by an event handled meanwhile.
        if (!peutEnvoyer()) return;
        if (!port.isOpen()) {
            liaisonPerdue();
            return;
        }
        if (port.inBufferCount() > 0) tamponReception += QString::fromLatin1(port.input());
        if (tamponReception.contains(QChar(FIN))) break;
        const double ecoule = h.maintenant() - debut;
        if (ecoule > delaiReponse) break;
        h.attendreDonnees(port, std::clamp(delaiReponse - ecoule + 0.001, 0.001, pasAttente));
    }

    if (h.maintenant() - debut > delaiTardif) {
        if (tamponReception.isEmpty()) {
            liaisonPerdue();
            return;
        }
        if (!tamponReception.endsWith(u'?')) {
            reponseTardive();
            return;
        }
    }
    reponse = nettoyerReponse(tamponReception);
}

bool envoyerCommande(QString& commande, const QString& mode, const QString& cle, const QString& codeRelecture)
{
    if (!peutEnvoyer() || enTransaction) return false;
    // On line the port is open: found closed, its device went away.
    if (!plateforme().principale->MSComm1().isOpen()) {
        liaisonPerdue();
        if (mode == QLatin1String("U")) reponseAttendue = QStringLiteral("error");
        return false;
    }
    GardeTransaction garde;
    // No user action starts another exchange inside this one's waits.
    EchangeEnCours echange;
    // Copies: the caller's registers may change while events are processed.
    const QString texte = commande;
    const QString modeTr = mode;
    const QString cleTr = cle;
    const QString relecture = codeRelecture;

    // A "U" exchange cut by the loss of the link is no match.
    auto coupe = [&] {
        if (modeTr == QLatin1String("U")) reponseAttendue = QStringLiteral("error");
        return false;
    };
    for (int tentative = 1; tentative <= nbTentatives; ++tentative) {
        envoyerTexte(texte);
        if (relecture.isEmpty()) return peutEnvoyer();
        if (!peutEnvoyer()) return coupe();
        envoyerTexte(relecture);
        if (!peutEnvoyer()) return coupe();

        if (modeTr == QLatin1String("U")) {
            reponseAttendue = reponse.startsWith(reponseAttendue) ? QStringLiteral("ok") : QStringLiteral("error");
            return reponseAttendue == QLatin1String("ok");
        }
        QString lu;
        if (modeTr == QLatin1String("B")) lu = chiffresEtPoints(reponse);
        else if (modeTr == QLatin1String("C")) lu = extraireEtatRelais(cleTr);
        else if (modeTr == QLatin1String("A")) lu = extraireChampReponse(cleTr);
        else return true;   // "S" and the modes without a check: one round
        QString ecrit = valeurEcrite(texte, cleTr);
        if (modeTr == QLatin1String("A")) ecrit = filtrerChampDonnees(ecrit);
        if (lu == ecrit) return true;
    }
    return false;
}
