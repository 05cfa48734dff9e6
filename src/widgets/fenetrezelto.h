#pragma once
// Base of the program's windows: a single instance living for the run,
// registered by number. Load, activate, query-unload and unload steps as
// the original forms had them; unloading hides the window (no window is
// destroyed while one of its handlers runs) and form variables are reset
// by the next load, which also gives every control its enabled state as
// built. Each showing chains the controls in screen order, unless the
// window keeps a tab order of its own, and starts on the control the load
// or first activation sets, else on the first one in tab order, whose
// got-focus steps run after that activation. A window opened modeless from
// another disables its opener until it unloads, then re-enables and
// activates it. A disabled window refuses a close request. A window that
// the link loss closes during an exchange, or while busy, closes once the
// exchange has returned.

#include "platform/registrefenetres.h"

#include <QMainWindow>
#include <QPointer>

#include <memory>
#include <utility>
#include <vector>

class GardeFocus;
class IMinuterie;
class QEventLoop;
class QLabel;
class QTimer;
class SuiviActivation;

// Reasons of a close request.
namespace modeFermeture {
constexpr int vbFormControlMenu = 0;   // the user closed the window
constexpr int vbFormCode = 1;          // unloaded by code
}

class FenetreZelto : public QMainWindow, public IFenetre {
    Q_OBJECT
public:
    explicit FenetreZelto(int numero, QWidget* parent = nullptr);
    ~FenetreZelto() override;

    int numero() const { return numero_; }
    bool estChargee() const { return charge_; }

    // Runs the load steps once until the next unload.
    void charger();
    // Loads, shows and activates (modeless).
    void afficher();
    // Shown modeless from ouvreur, which stays disabled until this unloads.
    void afficherDepuis(QWidget* ouvreur);
    // Loads and shows modal; returns once the window is unloaded or hidden.
    void afficherModal();
    // Gives the hand back to this window (Form_Activate follows).
    void activer();

    bool estAffichee() const override { return isVisible(); }
    // Unload by code; false when a step cancelled it.
    bool decharger() override;
    void dechargerDesQueLibre() override;
    // The link was lost and this window closes once its work returns: the
    // work stops where it is.
    bool fermetureEnAttente() const { return fermetureEnAttente_; }

    // Panel 1 of the status bar, made on first use.
    QLabel* panneau1();
    GardeFocus* garde() const { return garde_; }

protected:
    virtual void Form_Load() {}
    virtual void Form_Activate() {}
    virtual void Form_QueryUnload(bool& /*Cancel*/, int /*UnloadMode*/) {}
    virtual void Form_Unload(bool& /*Cancel*/) {}
    // False while an activation must wait (another exchange holds the link):
    // Form_Activate then runs once it turns true, checked every 100 ms.
    virtual bool activationPossible() const { return true; }
    // The window chains its controls itself: no screen order.
    void garderOrdreTabulation() { ordreEcran_ = false; }

    void closeEvent(QCloseEvent* e) override;
    void hideEvent(QHideEvent* e) override;

private:
    bool dechargerPar(int mode);
    void quitterBoucleModale();
    void activationDemandee();
    void fermerSiLibre();
    void activerEtPlacer();
    void retablirEtatsControles();

    int numero_;
    bool charge_ = false;
    bool enDechargement_ = false;
    bool placementAFinir_ = false;
    bool premierFocusADonner_ = false;   // shown, first activation to come
    bool ordreEcran_ = true;             // tab order follows the screen
    QPointer<QWidget> ouvreur_;
    QLabel* panneau1_ = nullptr;
    GardeFocus* garde_;
    SuiviActivation* suivi_;
    QEventLoop* boucleModale_ = nullptr;
    QTimer* reveilModal_ = nullptr;
    std::unique_ptr<IMinuterie> activationDifferee_;
    bool fermetureEnAttente_ = false;
    std::unique_ptr<IMinuterie> fermetureDifferee_;
    bool etatsNotes_ = false;
    std::vector<std::pair<QPointer<QWidget>, bool>> etatsInitiaux_;   // enabled as built
};
