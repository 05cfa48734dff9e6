#pragma once
// A main window for core tests: the port, the on-line option, the watchdog
// switch and the status panel, recording what the core did to its controls.

#include "link/fenetreprincipale.h"

#include <map>
#include <utility>

class FenetrePrincipaleFactice : public IFenetrePrincipale {
public:
    explicit FenetrePrincipaleFactice(ISerialPort& port) : port_(port) {}

    ISerialPort& MSComm1() override { return port_; }
    bool onLineChk() const override { return enLigne; }
    void selectionnerHorsLigne() override { enLigne = false; ++nbSelectionsHorsLigne; }
    bool timer1Enabled() const override { return timer1; }
    void setTimer1Enabled(bool actif) override { timer1 = actif; }
    bool sondeEnCours() const override { return sonde; }
    void setTexteStatut(const QString& t) override { statut = t; }
    QString texteStatut() const override { return statut; }
    void setControleEnabled(ControlePrincipal c, bool actif) override { controles[c] = actif; }
    void setLangueChkEnabled(int i, bool actif) override { langues[i] = actif; }
    void setCommChkEnabled(int i, bool actif) override { ports[i] = actif; }
    bool estVisible() const override { return visible; }
    int leftTwips() const override { return left; }
    int topTwips() const override { return top; }
    int widthTwips() const override { return width; }
    int heightTwips() const override { return height; }

    bool enLigne = true;
    bool timer1 = false;
    bool sonde = false;
    bool visible = true;
    QString statut;
    int nbSelectionsHorsLigne = 0;
    std::map<ControlePrincipal, bool> controles;
    std::map<int, bool> langues;
    std::map<int, bool> ports;
    int left = 1500, top = 1200, width = 9000, height = 6000;

private:
    ISerialPort& port_;
};
