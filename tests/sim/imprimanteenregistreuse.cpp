#include "imprimanteenregistreuse.h"

#include <set>

void ImprimanteEnregistreuse::texte(const QString& t)
{
    if (echecAuMorceau > 0 && static_cast<int>(morceaux.size()) + 1 >= echecAuMorceau) erreur_ = true;
    if (erreur_) return;
    morceaux.push_back({page_, ligne_, colonne_, taille_, gras_, souligne_, t});
    if (!t.isEmpty()) contenu_ = true;
}

void ImprimanteEnregistreuse::nouvellePage()
{
    if (contenu_) ++page_;
    contenu_ = false;
    ligne_ = 0;
    colonne_ = 0;
}

bool ImprimanteEnregistreuse::finDocument()
{
    ++nbFinDocument;
    return !erreur_ && !echecFinDocument;
}

int ImprimanteEnregistreuse::pagesImprimees() const
{
    std::set<int> pages;
    for (const MorceauImprime& m : morceaux)
        if (!m.texte.isEmpty()) pages.insert(m.page);
    return static_cast<int>(pages.size());
}

std::vector<MorceauImprime> ImprimanteEnregistreuse::page(int p) const
{
    std::vector<MorceauImprime> r;
    for (const MorceauImprime& m : morceaux)
        if (m.page == p) r.push_back(m);
    return r;
}

QString ImprimanteEnregistreuse::ligne(int p, int numero) const
{
    QString r;
    int colonne = -2;
    for (const MorceauImprime& m : morceaux) {
        if (m.page != p || m.ligne != numero) continue;
        if (m.colonne != colonne) {
            if (!r.isEmpty()) r += QLatin1Char('|');
            r += QStringLiteral("c%1:").arg(m.colonne);
            colonne = m.colonne;
        }
        r += m.texte;
    }
    return r;
}

QStringList ImprimanteEnregistreuse::lignes(int p) const
{
    std::set<int> numeros;
    for (const MorceauImprime& m : morceaux)
        if (m.page == p) numeros.insert(m.ligne);
    QStringList r;
    for (int n : numeros) r << ligne(p, n);
    return r;
}
