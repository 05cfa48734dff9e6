#pragma once
// Test windows for the window registry and a bench that clears it.

#include "platform/plateforme.h"
#include "platform/registrefenetres.h"
#include "sim/bancessai.h"

#include <QStringList>

#include <functional>
#include <ostream>
#include <memory>
#include <vector>

// Readable QString in test failures.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

// A registered window that records its unload in a shared log.
struct FenetreTest : IFenetre {
    FenetreTest(int numero, QStringList& journal) : numero(numero), journal(journal) {}
    bool estAffichee() const override { return affichee; }
    bool decharger() override
    {
        journal << QString::number(numero);
        if (surDecharger) surDecharger();
        if (refuse) return false;
        affichee = false;
        registre().noterDechargement(numero);
        return true;
    }
    int numero;
    QStringList& journal;
    bool affichee = true;
    bool refuse = false;
    std::function<void()> surDecharger;
};

struct BancLiaison : BancEssai {
    BancLiaison() { registre().vider(); }
    ~BancLiaison() { registre().vider(); }

    // Loads and registers window n (shown unless said).
    FenetreTest& charger(int n, bool affichee = true)
    {
        fenetres.push_back(std::make_unique<FenetreTest>(n, dechargements));
        FenetreTest& f = *fenetres.back();
        f.affichee = affichee;
        registre().inscrire(n, &f);
        registre().noterChargement(n);
        return f;
    }

    QStringList dechargements;
    std::vector<std::unique_ptr<FenetreTest>> fenetres;
};
