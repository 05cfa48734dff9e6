#pragma once
// A printer for tests: keeps every text printed with its page, line, tab
// column, size, bold and underline, and can be told to fail.
//
//     ImprimanteEnregistreuse imp;
//     plateforme().imprimante = &imp;
//     ... print ...
//     EXPECT_EQ(imp.pagesImprimees(), 9);
//     EXPECT_EQ(imp.texteA(1, "MENU A:"), ...);

#include "platform/imprimante.h"

#include <QString>
#include <QStringList>

#include <vector>

struct MorceauImprime {
    int page = 1;
    int ligne = 0;          // 0 = first line of the page
    int colonne = 0;        // last tab column of the line; -1 mid-page; 0 none
    double taille = 0;
    bool gras = false;
    bool souligne = false;
    QString texte;
};

class ImprimanteEnregistreuse : public IImprimante {
public:
    void setPolice(const QString& nom, bool gras, bool enItalique) override
    {
        police = nom;
        gras_ = gras;
        italique = enItalique;
    }
    void setTaille(double points) override { taille_ = points; }
    void setGras(bool gras) override { gras_ = gras; }
    void setSouligne(bool souligne) override { souligne_ = souligne; }
    void tab(int colonne) override { colonne_ = colonne; }
    void milieuPage() override { colonne_ = -1; }
    void texte(const QString& t) override;
    void finLigne() override
    {
        ++ligne_;
        colonne_ = 0;
    }
    int page() const override { return page_; }
    void nouvellePage() override;
    void ajusterInterligne(double points) override { pointsParPage = points; }
    bool finDocument() override;
    void abandonner() override { ++nbAbandons; }
    bool enErreur() const override { return erreur_; }

    // Pages that hold text.
    int pagesImprimees() const;
    // Texts printed on one page, in order.
    std::vector<MorceauImprime> page(int p) const;
    // Texts of line `ligne` of page p joined per tab column: "c10:Label|c40: = 5".
    QString ligne(int p, int ligne) const;
    // Lines of page p that hold texts, as ligne() gives them.
    QStringList lignes(int p) const;

    // Fails from the n-th text printed on (0 = never).
    int echecAuMorceau = 0;
    bool echecFinDocument = false;

    std::vector<MorceauImprime> morceaux;
    QString police;
    bool italique = false;
    double pointsParPage = 0;
    int nbFinDocument = 0;
    int nbAbandons = 0;

private:
    double taille_ = 8;
    bool gras_ = false;
    bool souligne_ = false;
    int colonne_ = 0;
    int ligne_ = 0;
    int page_ = 1;
    bool contenu_ = false;
    bool erreur_ = false;
};
