#pragma once
// Test bench: a virtual clock, a simulated converter behind a simulated port
// (opened), scripted UI services and a fake main window on line, installed in
// plateforme() with the module state reset. Uninstalled on destruction.
//
//     BancEssai banc;
//     banc.sim.fixer("Ur", "410");          // converter state
//     cmdCode = "Ur"; envoyerCommande(cmdCode, "L", "", "");
//     EXPECT_EQ(banc.sim.journal, QStringList({"Ur"}));   // exact wire lines
//
// banc.sim knobs make the converter misbehave (silence, delaiReponse...);
// banc.principale.enLigne = false puts the program off line; banc.ui scripts
// message-box answers and records them. The tables are left empty: call the
// init functions a test needs (initTableMenuBGen()...).

#include "convertisseursim.h"
#include "fenetreprincipalefactice.h"
#include "horlogevirtuelle.h"
#include "portsimule.h"
#include "servicesuiscriptes.h"

// Puts the run state (model/etat.h), the tables and stores (model/tables.h)
// and the transaction registers (link/transaction.h) back to their start
// values.
void reinitialiserEtatModule();

struct BancEssai {
    BancEssai();
    ~BancEssai();
    BancEssai(const BancEssai&) = delete;
    BancEssai& operator=(const BancEssai&) = delete;

    HorlogeVirtuelle horloge;
    ConvertisseurSim sim;
    PortSimule port{sim, horloge};
    ServicesUiScriptes ui;
    FenetrePrincipaleFactice principale{port};
};
