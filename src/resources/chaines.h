#pragma once
// String table: every translatable text of the program, six language slots.
// A text is looked up by id = base + langueIndex (0 French, 1 English,
// 2 German, 3 Italian, 4 Spanish, 5 Portuguese); bases end in 0.

#include <QString>
#include <cstddef>

struct EntreeChaine {
    int base;                 // id of the French slot, a multiple of 10
    const char* textes[6];    // UTF-8: fr, en, de, it, es, pt
};

// The table itself (table_chaines.cpp), sorted by base.
extern const EntreeChaine tableChaines[];
extern const std::size_t nbEntreesChaines;

// Text of one id (base + slot). Empty when the id is not in the table.
QString chargerChaine(int id);

// Text of a base in the current language (base + langueIndex).
QString texteChaine(int base);

// True when the base has a non-empty text in every slot.
bool chaineComplete(int base);
