#include "chaines.h"

#include "model/etat.h"

#include <algorithm>

namespace {
// Entry of a base, or nullptr when the table has none.
const EntreeChaine* trouverEntree(int base)
{
    const EntreeChaine* debut = tableChaines;
    const EntreeChaine* fin = tableChaines + nbEntreesChaines;
    const EntreeChaine* it = std::lower_bound(
        debut, fin, base, [](const EntreeChaine& e, int b) { return e.base < b; });
    if (it == fin || it->base != base) return nullptr;
    return it;
}
} // namespace

QString chargerChaine(int id)
{
    if (id < 0) return {};
    const int slot = id % 10;
    if (slot > 5) return {};
    const EntreeChaine* entree = trouverEntree(id - slot);
    if (!entree || !entree->textes[slot]) return {};
    return QString::fromUtf8(entree->textes[slot]);
}

QString texteChaine(int base)
{
    return chargerChaine(base + langueIndex);
}

bool chaineComplete(int base)
{
    if (base < 0 || base % 10 != 0) return false;
    const EntreeChaine* entree = trouverEntree(base);
    if (!entree) return false;
    return std::all_of(std::begin(entree->textes), std::end(entree->textes),
                       [](const char* t) { return t && *t; });
}
