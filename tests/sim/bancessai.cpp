#include "bancessai.h"

#include "link/transaction.h"
#include "model/etat.h"
#include "model/tables.h"
#include "platform/plateforme.h"

void reinitialiserEtatModule()
{
    // Run state.
    travailEnCours = false;
    premierDemarrage = false;
    passwordOk = false;
    startActif = false;
    startInitialise = false;
    menuAModifie = false;
    menuBGenModifie = false;
    menuCModifie = false;
    menuBGenCharge = false;
    menuCCharge = false;
    origPartExterne = false;
    reponseXxX = false;
    sensLecture = false;
    bgenLu = 0;
    flagExit = false;
    partitionCourante = 1;
    partitionDebut = 1;
    partitionFin = 1;
    langueIndex = 0;
    codePortIni = 6;
    modeCopie = 0;
    choixImpression = 0;
    versionLogiciel = 0;
    versionLettre.clear();
    nbPartitions = 64;
    champsLES = {};
    partParamsCharges = {};
    partNemaCharges = {};
    partParamsModifies = {};
    partNemaModifies = {};
    portPresent = {};
    positionsFenetres = {};
    programmeTermine = false;
    etatAnomalies = {};
    etatRelais = {};

    // Tables and stores.
    tableMenuBGen = {};
    defParamsPartition = {};
    parametresPartitions = {};
    pointsNema = {};
    valeursCourantes = {};
    nbPointsGamme = Variant();
    freqMaxGamme = Variant();
    tensionMaxGamme = Variant();
    nbPointsNema = Variant();
    cleNema.clear();
    codeNema.clear();
    tableRelais = {};
    tableSortiesAnalogiques = {};
    tableComparateur = {};
    tableCodesMesures = {};

    // Transaction registers.
    cmdCode.clear();
    cmdMode.clear();
    cmdParam1.clear();
    cmdParam2.clear();
    cmdBuffer2.clear();
    reponse.clear();
    tamponReception.clear();
    finCommande = false;
    reponseAttendue.clear();
}

BancEssai::BancEssai()
{
    reinitialiserEtatModule();
    port.open();
    plateforme().horloge = &horloge;
    plateforme().ui = &ui;
    plateforme().principale = &principale;
}

BancEssai::~BancEssai()
{
    Plateforme& p = plateforme();
    if (p.horloge == &horloge) p.horloge = nullptr;
    if (p.ui == &ui) p.ui = nullptr;
    if (p.principale == &principale) p.principale = nullptr;
}
