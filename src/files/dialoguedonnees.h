#pragma once
// Settings of the data-file dialogs: the "data" folder beside the program,
// the ".mnc" filter and the title of each dialog.

#include "platform/servicesui.h"

// Save dialog (asks before overwriting) when sauver, else open dialog.
DialogueFichier dialogueFichierDonnees(bool sauver);
