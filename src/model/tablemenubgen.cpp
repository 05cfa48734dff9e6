#include "menubgen.h"
#include "session.h"
#include "tables.h"

namespace {
struct LigneBGen {
    const char* code;
    const char* cle;
    int min;
    int max;
};

// Codes and keys are case-sensitive and sent as written.
constexpr LigneBGen lignesMenuBGen[13] = {
    {"CS", "$cs", 0, 1},     // start/stop source
    {"UF", "$uf", 0, 1},     // speed display unit
    {"IV", "$iv", 0, 1},     // reversing allowed
    {"ps", "$ps", 0, 1},     // reversing source
    {"FC", "$fc", 1, 10},    // speed reference filter
    {"CP", "$cP", 0, 1},     // speed reference input kind
    {"Ur", "$ur", 400, 480}, // mains voltage [V]
    {"pg", "$pg", 0, 1},     // partition selection source
    {"AS", "$as", 0, 1},     // stop mode after a fault
    {"DD", "$dd", 0, 5},     // delay between fault and stop [s]
    {"RV", "$rv", 0, 1},     // catch a spinning motor
    {"VM", "$vm", 0, 1},     // locking key
    {"DM", "$dm", 0, 1},     // 5 s DTO delay
};
}

int derniereLigneMenuBGen() { return 12; }

void initTableMenuBGen()
{
    for (int r = 0; r <= derniereLigneMenuBGen(); ++r) {
        defParametre& ligne = tableMenuBGen[r];
        ligne.code = QString::fromLatin1(lignesMenuBGen[r].code);
        ligne.cle = QString::fromLatin1(lignesMenuBGen[r].cle);
        ligne.min = lignesMenuBGen[r].min;
        ligne.max = lignesMenuBGen[r].max;
        const double v = ligne.valeur.nombre();
        if (ligne.valeur.estVide() || v < lignesMenuBGen[r].min || v > lignesMenuBGen[r].max)
            ligne.valeur = lignesMenuBGen[r].min;
    }
}
