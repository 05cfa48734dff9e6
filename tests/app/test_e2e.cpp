// End to end: the real main window through the real serial port to zelto-sim
// behind a pseudo-terminal, in real time.

#include "app/fondecran.h"
#include "link/transaction.h"
#include "model/etat.h"
#include "model/menua.h"
#include "model/nombres.h"
#include "platform/horlogereelle.h"
#include "platform/plateforme.h"
#include "platform/portserieqt.h"
#include "sim/bancessai.h"
#include "sim/servicesuiscriptes.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

namespace {
void attendreReel(double secondes)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < secondes * 1000) {
        QCoreApplication::processEvents();
        QThread::msleep(5);
    }
}

QStringList lignesJournal(const QString& chemin)
{
    QFile f(chemin);
    if (!f.open(QIODevice::ReadOnly)) return {};
    QStringList l = QString::fromLatin1(f.readAll()).split(u'\n');
    if (!l.isEmpty() && l.last().isEmpty()) l.removeLast();
    return l;
}

// zelto-sim behind a pseudo-terminal as port 1 (ports 2 to 4 absent), with
// the real clock and scripted boxes; the module state is reset.
struct BancReel {
    QTemporaryDir dossier;
    QString journal = QDir(dossier.path()).filePath(QStringLiteral("journal.txt"));
    QProcess sim;
    HorlogeReelle horloge;
    ServicesUiScriptes ui;
    QString raison;   // why the bench could not start

    BancReel()
    {
        const QString programme = QStringLiteral(ZELTO_BINARY_DIR "/zelto-sim");
        if (!QFile::exists(programme)) { raison = "zelto-sim not built"; return; }
        if (!QFile::exists(QStringLiteral("/dev/ptmx"))) { raison = "no pseudo-terminals"; return; }
        sim.start(programme, {QStringLiteral("--journal"), journal});
        const QString peripherique = sim.waitForStarted(5000) && sim.waitForReadyRead(5000)
            ? QString::fromLocal8Bit(sim.readLine()).trimmed() : QString();
        if (peripherique.isEmpty()) { raison = "zelto-sim gave no pseudo-terminal"; return; }
        qputenv("ZELTO_COM1", peripherique.toLocal8Bit());
        for (const char* v : {"ZELTO_COM2", "ZELTO_COM3", "ZELTO_COM4"})
            qputenv(v, QDir(dossier.path()).filePath(QStringLiteral("absent")).toLocal8Bit());
        reinitialiserEtatModule();
        definirSeparateurDecimal(u'.');
        plateforme().horloge = &horloge;
        plateforme().ui = &ui;
    }
    ~BancReel()
    {
        plateforme().principale = nullptr;
        plateforme().ui = nullptr;
        plateforme().horloge = nullptr;
        retablirSeparateurDecimal();
        sim.closeWriteChannel();
        if (sim.state() != QProcess::NotRunning && !sim.waitForFinished(3000)) {
            sim.kill();
            sim.waitForFinished(2000);
        }
    }
};
}

TEST(FinAFin, EnLigneEtPremiereSondeParLePortReel)
{
    BancReel banc;
    if (!banc.raison.isEmpty()) GTEST_SKIP() << banc.raison.toStdString();
    ServicesUiScriptes& ui = banc.ui;
    const QString& journal = banc.journal;
    {
        PortSerieQt port;
        fondEcran f(port, banc.dossier.path());
        EXPECT_TRUE(f.commChk[1]->isEnabled());
        EXPECT_FALSE(f.commChk[2]->isEnabled());

        f.onLineChk_->click();
        EXPECT_TRUE(f.onLineChk()) << (ui.messages.empty() ? "" : ui.messages[0].texte.toStdString());
        EXPECT_EQ(versionLogiciel, 18);
        attendreReel(2.6);   // the watchdog's first probe
        EXPECT_TRUE(f.onLineChk());
        EXPECT_TRUE(ui.messages.empty());
        EXPECT_EQ(lignesJournal(journal), QStringList({"", "XxX", "LES", ""}));

        f.ExitBtn->click();
        EXPECT_EQ(ui.nbTerminer, 1);
        attendreReel(0.2);
        EXPECT_EQ(lignesJournal(journal).value(4), QStringLiteral("xXx"));
    }
}

// The converter's end of the line closed (the model killed) while on line:
// the program is off line within a second and without a message, idle under
// the watchdog as well as in the middle of a full upload.
TEST(FinAFin, ConvertisseurTueHorsLigneEnMoinsDUneSeconde)
{
    for (const bool pendantChargement : {false, true}) {
        SCOPED_TRACE(pendantChargement ? "full upload" : "idle");
        BancReel banc;
        if (!banc.raison.isEmpty()) GTEST_SKIP() << banc.raison.toStdString();
        QProcess& sim = banc.sim;
        ServicesUiScriptes& ui = banc.ui;
        const QString& journal = banc.journal;
        {
            PortSerieQt port;
            fondEcran f(port, banc.dossier.path());
            f.onLineChk_->click();
            ASSERT_TRUE(f.onLineChk());
            attendreReel(0.3);

            QElapsedTimer t;
            qint64 tue = -1;
            auto tuer = [&] {
                sim.kill();
                t.start();
                tue = 0;
            };
            qint64 horsLigne = -1;
            if (pendantChargement) {
                int lignesAvant = 0;
                QTimer::singleShot(300, [&] {
                    lignesAvant = lignesJournal(journal).size();
                    tuer();
                });
                EXPECT_FALSE(chargerTout());
                horsLigne = t.elapsed();
                EXPECT_GT(lignesAvant, 10);   // the upload was under way
            } else {
                tuer();
                while (f.onLineChk() && t.elapsed() < 3000) attendreReel(0.01);
                horsLigne = t.elapsed();
            }
            ASSERT_EQ(tue, 0);
            EXPECT_FALSE(f.onLineChk());
            EXPECT_LT(horsLigne, 1000);
            EXPECT_FALSE(port.isOpen());
            EXPECT_FALSE(f.timer1Enabled());
            EXPECT_TRUE(ui.messages.empty());
            EXPECT_EQ(ui.nbTerminer, 0);
        }
    }
}
