#pragma once
// The installed platform: clock, desktop services, main window and window
// list. main() installs the real ones; tests install their doubles.

class IHorloge;
class IServicesUi;
class IFenetrePrincipale;
class RegistreFenetres;

struct Plateforme {
    IHorloge* horloge = nullptr;
    IServicesUi* ui = nullptr;
    IFenetrePrincipale* principale = nullptr;   // null before the main window exists
};

Plateforme& plateforme();
IHorloge& horloge();
IServicesUi& ui();
RegistreFenetres& registre();
