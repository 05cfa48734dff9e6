#pragma once
// The U/F window and the copy dialog on the test bench, with small stand-ins
// for menu B general and menu B partitions (their windows and views).

#include "model/etat.h"
#include "model/menubgen.h"
#include "model/nombres.h"
#include "model/partitions.h"
#include "model/tables.h"
#include "model/vues.h"
#include "resources/chaines.h"
#include "sim/bancessai.h"
#include "uf/copynema.h"
#include "uf/prognema.h"
#include "uf/surfacegraphe.h"
#include "widgets/ctextbxn.h"
#include "widgets/fenetrezelto.h"
#include "widgets/suiviactivation.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <utility>
#include <vector>

// A menu window that opens the dialogs: records texts, status and activations.
template <class Vue>
class OuvreurFactice : public FenetreZelto, public Vue {
public:
    explicit OuvreurFactice(int numero) : FenetreZelto(numero) {}
    using QWidget::setEnabled;
    using QWidget::setVisible;

    bool estVisible() const override { return isVisible(); }
    void setTexte(const QString& c, const QString& t) override { textes[c] = t; }
    QString texte(const QString& c) const override
    {
        const auto it = textes.find(c);
        return it == textes.end() ? QString() : it->second;
    }
    void setEnabled(const QString&, bool) override {}
    void setVisible(const QString&, bool) override {}
    void selectionnerOption(const QString&, int) override {}
    bool optionSelectionnee(const QString&, int) const override { return false; }
    void setTexteStatut(const QString& t) override { statut = t; }

    std::map<QString, QString> textes;
    QString statut;
    int activations = 0;

protected:
    void Form_Activate() override { ++activations; }
};

using MenuBPFactice = OuvreurFactice<IVueMenuBP>;
using MenuBGenFactice = OuvreurFactice<IVueMenuBGen>;

class BancUF : public ::testing::Test {
protected:
    void SetUp() override
    {
        definirSeparateurDecimal(u'.');
        langueIndex = 1;
        initDefParamsPartition();
        initPartitionCode();
        initPointsNema(64);
        initTableMenuBGen();
        SuiviActivation::oublier();
    }
    void TearDown() override
    {
        copie.reset();
        uf.reset();
        menuBP.reset();
        menuBGen.reset();
        vues() = Vues();
        retablirSeparateurDecimal();
    }

    static void traiter()
    {
        for (int i = 0; i < 3; ++i) QApplication::processEvents();
    }
    // Menu B partitions showing partition p.
    MenuBPFactice& ouvrirMenuBP(int p)
    {
        menuBP = std::make_unique<MenuBPFactice>(numeroFenetre::menuBP);
        menuBP->textes[QStringLiteral("editTxtGamme")] = QString::number(p);
        vues().menuBP = menuBP.get();
        menuBP->afficher();
        traiter();
        return *menuBP;
    }
    // The U/F window on partition p, loaded and activated.
    progNema& ouvrirUF(int p)
    {
        valeursCourantes[0].valeur = p;
        if (!copie) copie = std::make_unique<copyNema>();
        uf = std::make_unique<progNema>();
        uf->afficher();
        traiter();
        return *uf;
    }
    copyNema& ouvrirCopie(int mode)
    {
        if (!copie) copie = std::make_unique<copyNema>();
        modeCopie = mode;
        copie->afficher();
        traiter();
        return *copie;
    }
    // Points (U, F) of partition p in the store, count recomputed.
    static void fixerPoints(int p, const std::vector<std::pair<int, int>>& points)
    {
        for (int k = 0; k < 64; ++k) pointsNema[p][k] = 0;
        for (std::size_t j = 0; j < points.size(); ++j) {
            pointsNema[p][2 * j] = points[j].first;
            pointsNema[p][2 * j + 1] = points[j].second;
        }
        terminerPointsNema(p);
    }
    static std::vector<std::pair<int, int>> points(int p)
    {
        std::vector<std::pair<int, int>> r;
        for (int j = 1; j <= nbPointsIndex(p); ++j)
            r.emplace_back(pointsNema[p][2 * j - 2].entier(), pointsNema[p][2 * j - 1].entier());
        return r;
    }

    BancEssai banc;
    std::unique_ptr<MenuBGenFactice> menuBGen;
    std::unique_ptr<MenuBPFactice> menuBP;
    std::unique_ptr<copyNema> copie;
    std::unique_ptr<progNema> uf;
};
