#pragma once
// Splash box at start-up (3 seconds, no OK) and about box (OK, any key closes).

#include "platform/infosysteme.h"
#include "platform/registrefenetres.h"

#include <QDialog>

class QLabel;
class QPushButton;

// Program version shown as "Version: " major "#0." revision "#000".
constexpr int versionMajeure = 1;
constexpr int versionRevision = 0;

class frmSplash : public QDialog, public IFenetre {
    Q_OBJECT
public:
    explicit frmSplash(QWidget* parent = nullptr);
    ~frmSplash() override;

    // Loads and shows the box in the role premierDemarrage gives; the
    // start-up role returns once the box has closed itself.
    void afficher();

    bool estAffichee() const override { return isVisible(); }
    bool decharger() override;

    // lblPlatform's text for a system; empty: keep the designed caption.
    static QString textePlateforme(const InfoSysteme& info);
    static QString texteVersion();

    QLabel* imgLogo = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblProductName = nullptr;
    QLabel* lblCompanyProduct = nullptr;
    QLabel* lblCompany = nullptr;
    QLabel* lblCopyright = nullptr;
    QLabel* lblWarning = nullptr;
    QLabel* lblPlatform = nullptr;
    QPushButton* okBtn = nullptr;

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void Form_Load();
    void Form_Activate();
    void Form_Unload();
    bool charge_ = false;
};
