#pragma once
// The installed platform: clock, desktop services, main window, printer and
// window list. main() installs the real ones; tests install their doubles.

class IHorloge;
class IServicesUi;
class IImprimante;
class IFenetrePrincipale;
class RegistreFenetres;

struct Plateforme {
    IHorloge* horloge = nullptr;
    IServicesUi* ui = nullptr;
    IFenetrePrincipale* principale = nullptr;   // null before the main window exists
    IImprimante* imprimante = nullptr;          // the system printer
};

Plateforme& plateforme();
IHorloge& horloge();
IServicesUi& ui();
RegistreFenetres& registre();
