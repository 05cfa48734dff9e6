#pragma once
// U/F characteristic window: the points of the current partition, read from
// the converter while they are not held, corrected, normalised, checked
// against the partition's frequencies and drawn as a chart.

#include "widgets/fenetrezelto.h"

#include <array>

class CTextBxN;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class SurfaceGraphe;

class progNema : public FenetreZelto {
    Q_OBJECT
public:
    progNema();
    ~progNema() override;

    // Controls.
    std::array<QLineEdit*, 64> editTxt{};   // 62 and 63 (point 32) stay hidden
    std::array<QLabel*, 129> Label{};       // 4 per row: caption, number, [V], [Hz]; 128 the partition
    QLineEdit* editTxtNumGamme = nullptr;
    QFrame* frameGraphe = nullptr;
    SurfaceGraphe* nemaPicture = nullptr;
    QLineEdit* editTxtUs = nullptr;
    QLineEdit* editTxtFs = nullptr;
    QPushButton* corrBtn = nullptr;
    QPushButton* AnnulBtn = nullptr;
    QPushButton* terminerBtn = nullptr;
    QPushButton* grapheBtn = nullptr;
    QPushButton* downBtn = nullptr;
    QPushButton* copieBtn = nullptr;
    QPushButton* ExitBtn = nullptr;

    // Validators TXT0 .. TXT66 (64 the partition field, 65 Us, 66 Fs).
    std::array<CTextBxN*, 67> TXT{};

    bool nemaCorrigee = false;
    int xMarqueur = -1;
    int yMarqueur = -1;
    std::array<double, 33> frequencesGraphe{};
    std::array<double, 33> tensionsGraphe{};
    std::array<double, 33> pentesGraphe{};

    void activerPointsNema(bool actif);
    void afficherPointsNema();
    void terminerNema();
    void controlerFrequencesPartition();

    void basculerGrapheNema(int bouton);
    void dessinerGrapheNema();
    void tracerCourbeNema(int n);
    void positionMarqueurNema(double F, double U);
    void dessinerMarqueurNema();
    void effacerMarqueurNema();
    // Curve readings: the voltage at editTxtFs, the frequency at editTxtUs.
    void lireTension();
    void lireFrequence();

    void corrBtn_Click();
    void AnnulBtn_Click();
    void terminerBtn_Click();
    void copieBtn_Click();
    void downBtn_Click();
    void ExitBtn_Click();

    // Partition p of the window: the current one of valeursCourantes.
    static int partitionAffichee();

protected:
    void Form_Load() override;
    bool activationPossible() const override;
    void Form_Activate() override;
    void Form_QueryUnload(bool& Cancel, int UnloadMode) override;
    void Form_Unload(bool& Cancel) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    bool eventFilter(QObject* objet, QEvent* e) override;

private:
    void construire();
    void editTxt_GotFocus(int k);
    void editTxt61_LostFocus();
    QString indicationPoint(int k) const;
    void ouvrirCopie(int mode);
    int nbPoints_ = 1;
    bool enFin_ = false;   // terminerNema running
    bool enLecture_ = false;   // the activation reads the points
    std::array<double, 64> pointsAvantCorrection_{};   // the store when the correction began
};
