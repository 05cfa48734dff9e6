#pragma once
// The program's list of windows by number, with the order in which they
// were loaded. Windows join as they are built; a window that never loaded
// is never loaded just to be asked a question.

#include <vector>

// Window numbers (alphabetical order of the window names).
namespace numeroFenetre {
constexpr int copyNema = 1;
constexpr int fondEcran = 2;
constexpr int frmSplash = 3;
constexpr int menuA = 4;
constexpr int menuBGen = 5;
constexpr int menuBP = 6;
constexpr int menuD = 7;
constexpr int menuRelNew = 8;
constexpr int menuStart = 9;
constexpr int newFreqW = 10;
constexpr int passform = 11;
constexpr int printW = 12;
constexpr int progNema = 13;
}

class IFenetre {
public:
    virtual ~IFenetre() = default;
    virtual bool estAffichee() const = 0;
    // Runs the window's close request and unload steps and hides it;
    // false when the window refused (busy).
    virtual bool decharger() = 0;
    // Unloads by code; asked during an exchange or while busy, the window
    // unloads once the exchange under way has returned.
    virtual void dechargerDesQueLibre() { decharger(); }
};

class RegistreFenetres {
public:
    void inscrire(int numero, IFenetre* fenetre);
    void retirer(int numero);
    IFenetre* fenetre(int numero) const;
    bool estAffichee(int numero) const;

    // Load order, for unloading the most recently loaded first.
    void noterChargement(int numero);
    void noterDechargement(int numero);
    const std::vector<int>& chargees() const { return chargees_; }
    void vider();

private:
    IFenetre* fenetres_[14] = {};
    std::vector<int> chargees_;
};
