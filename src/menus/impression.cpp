#include "impression.h"

#include "link/fenetreprincipale.h"
#include "link/identite.h"
#include "model/etat.h"
#include "model/menua.h"
#include "model/menubgen.h"
#include "model/partitions.h"
#include "model/session.h"
#include "model/tables.h"
#include "model/vues.h"
#include "platform/imprimanteqt.h"
#include "platform/plateforme.h"
#include "platform/porteentrees.h"
#include "platform/registrefenetres.h"
#include "platform/servicesui.h"
#include "printw.h"
#include "resources/chaines.h"
#include "resources/idschaines.h"

#include <algorithm>
#include <memory>

namespace {
// Columns of the eight partitions of a page.
constexpr int colonnesGammes[8] = {64, 76, 88, 100, 112, 124, 136, 148};
// Partition rows in print order; row 37 is not printed.
constexpr int ordreLignes[37] = {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  35, 36, 10, 11, 12, 13, 14, 15, 16,
                                 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34};

void statut(const QString& texte)
{
    if (IVueMenuBGen* v = vues().menuBGen) v->setTexteStatut(texte);
}

// Label at column 10, then at column `colonne` " = " and the value.
void ligneValeur(IImprimante& imp, const QString& libelle, int colonne, const QString& valeur)
{
    imp.tab(10);
    imp.texte(libelle);
    imp.tab(colonne);
    imp.texte(QStringLiteral(" = "));
    imp.texte(valeur);
    imp.finLigne();
}

// Title at column 10, size 12, bold and underlined, ended by a line end.
void titre(IImprimante& imp, int id)
{
    imp.tab(10);
    imp.setTaille(12);
    imp.setGras(true);
    imp.setSouligne(true);
    imp.texte(texteChaine(id));
    imp.finLigne();
}

// Opens the first page and every partition page.
void enTetePage(IImprimante& imp)
{
    imp.milieuPage();
    imp.setTaille(12);
    imp.setGras(true);
    imp.texte(QString::number(imp.page()));
    imp.finLigne();
    imp.setTaille(8);
    imp.setGras(false);
    for (int i = 0; i < 3; ++i) imp.finLigne();
}

void blocTitre(IImprimante& imp)
{
    imp.tab(10);
    imp.setTaille(12);
    imp.setGras(true);
    imp.setSouligne(true);
    imp.texte(texteChaine(ids::titreDocumentImpression));
    imp.finLigne();
    imp.finLigne();
    imp.setTaille(8);
    imp.tab(10);
    imp.setTaille(12);
    imp.texte(QStringLiteral("Zelto"));
    imp.finLigne();
    imp.setSouligne(false);
    imp.finLigne();
}

void titreMenuA(IImprimante& imp)
{
    imp.setTaille(8);
    imp.tab(10);
    imp.setTaille(12);
    imp.setGras(true);
    imp.setSouligne(true);
    imp.texte(texteChaine(ids::impMenuA));
    imp.setSouligne(false);
    imp.finLigne();
    imp.setGras(false);
    imp.setTaille(8);
    imp.finLigne();
}

// The device data the PC holds, under the menu A labels.
void lignesMenuA(IImprimante& imp)
{
    for (int i = 0; i <= 5; ++i) ligneValeur(imp, texteChaine(ids::libCourantMax + 10 * i), 40, champsLES[i]);
    for (int i = 0; i < 3; ++i) imp.finLigne();
}

void menuBGeneral(IImprimante& imp)
{
    titre(imp, ids::impMenuBGen);
    imp.setGras(false);
    imp.setSouligne(false);
    imp.setTaille(8);
    imp.finLigne();
    const int derniere = derniereLigneMenuBGen();
    for (int r = 0; r < derniere; ++r)
        ligneValeur(imp, texteChaine(ids::impMarcheArret + 10 * r), 60, tableMenuBGen[r].valeur.texteAffiche());
    ligneValeur(imp, texteChaine(ids::impTempoDto), 60, tableMenuBGen[derniere].valeur.texteAffiche());
    imp.finLigne();
}

void titreBloc(IImprimante& imp, int id)
{
    imp.tab(10);
    imp.setSouligne(true);
    imp.texte(texteChaine(id));
    imp.finLigne();
    imp.setSouligne(false);
    imp.finLigne();
}

void menuC(IImprimante& imp)
{
    titre(imp, ids::impMenuC);
    imp.setSouligne(false);
    imp.finLigne();
    imp.setGras(false);
    imp.setTaille(8);
    imp.finLigne();

    titreBloc(imp, ids::impSortiesRelais);
    for (int r = 0; r <= 16; ++r) {
        const Variant& relais = tableRelais[r][0];
        const QString libelle = texteChaine(ids::fonctionFreqAtteinte + 10 * r);
        if (relais.estVide())
            ligneValeur(imp, libelle, 60, texteChaine(ids::nonAffecte));
        else
            ligneValeur(imp, libelle, 40, relais.texteAffiche());
    }
    imp.finLigne();

    titreBloc(imp, ids::impSortiesAnalogiques);
    for (int r = 0; r <= 1; ++r)
        ligneValeur(imp, texteChaine(ids::sortieAnalogique1 + 10 * r), 40,
                    tableSortiesAnalogiques[r][0].texteAffiche());
    imp.finLigne();

    titreBloc(imp, ids::impSortieComparateur);
    for (int r = 0; r <= 1; ++r)
        ligneValeur(imp, texteChaine(ids::niveauComparateur + 10 * r), 40, tableComparateur[r][0].texteAffiche());
}

// One page of partitions p to p + 7.
void pageGammes(IImprimante& imp, int p)
{
    enTetePage(imp);
    titre(imp, ids::impMenuBGammes);
    imp.setSouligne(false);
    imp.finLigne();
    imp.setGras(false);
    imp.setTaille(8);
    imp.finLigne();

    imp.tab(10);
    imp.texte(texteChaine(ids::impGamme));
    imp.tab(60);
    imp.texte(QStringLiteral("="));
    for (int j = 0; j < 8; ++j) {
        imp.tab(colonnesGammes[j]);
        imp.texte(QString::number(p + j));
    }
    imp.finLigne();
    imp.finLigne();
    imp.finLigne();

    for (const int r : ordreLignes) {
        imp.tab(10);
        imp.texte(texteChaine(ids::impNbPoles + 10 * r));
        imp.tab(60);
        imp.texte(QStringLiteral("="));
        for (int j = 0; j < 8; ++j) {
            imp.tab(colonnesGammes[j]);
            imp.texte(parametresPartitions[r][p + j].texteAffiche());
        }
        imp.finLigne();
    }

    imp.finLigne();
    imp.setTaille(8);
    imp.setGras(true);
    imp.setSouligne(true);
    imp.tab(10);
    imp.setTaille(10);
    imp.texte(texteChaine(ids::impNema));
    imp.finLigne();
    imp.setSouligne(false);
    imp.setTaille(8);
    imp.tab(10);
    imp.finLigne();
    imp.setGras(false);
    imp.setTaille(8);
    imp.finLigne();

    for (int point = 1; point <= 32; ++point) {
        for (int j = 0; j < 8; ++j) {
            imp.tab(colonnesGammes[j]);
            imp.texte(texteUsFs(point, p + j));
        }
        imp.finLigne();
    }
}

// Adds up the font sizes of the lines of a partition page.
class MesureLignes : public IImprimante {
public:
    void setPolice(const QString&, bool, bool) override {}
    void setTaille(double points) override { taille_ = points; }
    void setGras(bool) override {}
    void setSouligne(bool) override {}
    void tab(int) override {}
    void milieuPage() override {}
    void texte(const QString&) override { max_ = std::max(max_, taille_); }
    void finLigne() override
    {
        total += std::max(max_, taille_);
        max_ = 0;
    }
    int page() const override { return 1; }
    void nouvellePage() override {}
    void ajusterInterligne(double) override {}
    bool finDocument() override { return true; }
    void abandonner() override {}
    bool enErreur() const override { return false; }

    double total = 0;

private:
    double taille_ = 8;
    double max_ = 0;
};

double pointsPageGammes()
{
    MesureLignes mesure;
    pageGammes(mesure, 1);
    return mesure.total;
}

// The print choice window: the one the main window made, else one for this print.
printW* fenetreChoix(std::unique_ptr<printW>& locale)
{
    if (auto* w = dynamic_cast<printW*>(registre().fenetre(numeroFenetre::printW))) return w;
    locale = std::make_unique<printW>();
    return locale.get();
}

// Steps 11 and 12: the window gets its controls back.
void retablir(bool ouvrir)
{
    if (ouvrir)
        if (IVueMenuBGen* v = vues().menuBGen) v->setEnabled(QStringLiteral("openBtn"), true);
    pointeurSourisPartout(0);
    travailEnCours = false;
    majBoutonsMenuBGen(true);
    statut(QString());
}
} // namespace

QString texteUsFs(int point, int partition)
{
    if (!partitionValide(partition) || point < 1 || point > 32) return QString();
    const auto& points = pointsNema[partition];
    if (point > points[64].entier()) return QString();
    const Variant& u = points[2 * point - 2];
    if (u.estVide() || u.nombre() == 0) return QString();
    return u.texteAffiche() + QLatin1Char('/') + points[2 * point - 1].texteAffiche();
}

void imprimerPartitions(IImprimante& imp)
{
    imp.nouvellePage();
    const int groupes = std::clamp(nbPartitions, 0, 64) / 8;
    for (int g = 0; g < groupes; ++g) {
        const int p = 1 + 8 * g;
        partitionCourante = p;
        pageGammes(imp, p);
        imp.nouvellePage();
        partitionCourante = p + 8;
    }
}

void imprimerMenuBGen()
{
    std::unique_ptr<ImprimanteQt> imprimanteLocale;
    IImprimante* imp = plateforme().imprimante;
    if (!imp) {
        imprimanteLocale = std::make_unique<ImprimanteQt>();
        imp = imprimanteLocale.get();
    }
    imp->setPolice(QStringLiteral("Arial"), true, true);
    statut(QString());

    // Print choice.
    std::unique_ptr<printW> choixLocal;
    printW* choix = fenetreChoix(choixLocal);
    choix->afficherModal();
    const bool confirme = choixImpression != 10 && choix->confirme();
    const bool donneesPc = choix->donneesPc();
    choix->decharger();
    if (!confirme) return;

    if (!ui().dialogueImprimante(*imp, texteChaine(ids::titreImpressionDonnees))) return;

    statut(texteChaine(ids::patientez));
    traiterEvenementsRoute();
    arreterScrutation();
    travailEnCours = true;   // off line too: nothing else runs while the job is built
    pointeurSourisPartout(11);
    majBoutonsMenuBGen(false);

    if (!donneesPc) {
        bool complet = enLigne();
        if (complet && origPartExterne) envoyerOrigPart0();
        // Converter values and PC values are never mixed on one printout:
        // no page is begun before the upload is complete.
        complet = complet && enLigne() && chargerTout();
        if (!complet) {
            imp->abandonner();
            pointeurSourisPartout(0);
            ui().msgBox(texteChaine(ids::liaisonPerdueRienImprime), msg::exclamation | msg::okSeul,
                        texteChaine(ids::messageTitre));
            retablir(false);
            return;
        }
    }
    imp->ajusterInterligne(pointsPageGammes());
    enTetePage(*imp);
    blocTitre(*imp);
    titreMenuA(*imp);
    lignesMenuA(*imp);
    menuBGeneral(*imp);
    menuC(*imp);
    imprimerPartitions(*imp);

    // A failed printer leaves nothing queued.
    if (imp->enErreur() || !imp->finDocument()) {
        imp->abandonner();
        retablir(false);
        return;
    }
    retablir(true);
}
