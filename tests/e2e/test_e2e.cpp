// End to end: the real QSerialPort path and real clock against zelto-sim
// behind a pseudo-terminal.
#include "sim/bancessai.h"

#include "link/transaction.h"
#include "platform/horlogereelle.h"
#include "platform/plateforme.h"
#include "platform/portserieqt.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <ctime>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

namespace {

bool pseudoTerminauxDisponibles()
{
    const int fd = posix_openpt(O_RDWR | O_NOCTTY);
    if (fd < 0) return false;
    ::close(fd);
    return true;
}

// zelto-sim as a child process; its stdin stays open while it runs.
class Simulateur {
public:
    explicit Simulateur(const QStringList& options)
    {
        processus_.start(QStringLiteral(ZELTO_BINARY_DIR "/zelto-sim"), options);
        if (!processus_.waitForStarted(5000)) return;
        while (!processus_.canReadLine() && processus_.waitForReadyRead(5000)) {
        }
        if (processus_.canReadLine()) chemin = QString::fromLocal8Bit(processus_.readLine()).trimmed();
    }
    ~Simulateur()
    {
        processus_.closeWriteChannel();
        if (!processus_.waitForFinished(2000)) {
            processus_.kill();
            processus_.waitForFinished(2000);
        }
    }
    QString chemin;

private:
    QProcess processus_;
};

QStringList lignesFichier(const QString& nom)
{
    QFile f(nom);
    if (!f.open(QIODevice::ReadOnly)) return {};
    QStringList r = QString::fromLatin1(f.readAll()).split(u'\n');
    if (!r.isEmpty() && r.last().isEmpty()) r.removeLast();
    return r;
}

struct Installation {
    Installation(IHorloge& h, IServicesUi& u, IFenetrePrincipale& p)
    {
        reinitialiserEtatModule();
        plateforme().horloge = &h;
        plateforme().ui = &u;
        plateforme().principale = &p;
    }
    ~Installation() { plateforme() = Plateforme{}; }
};

TEST(E2e, transactionsThroughQSerialPort)
{
    if (!pseudoTerminauxDisponibles()) GTEST_SKIP() << "no pseudo-terminals";
    QTemporaryDir dossier;
    ASSERT_TRUE(dossier.isValid());
    const QString journal = dossier.filePath(QStringLiteral("journal.txt"));
    Simulateur sim({"--journal", journal, "--version", "V15"});
    ASSERT_FALSE(sim.chemin.isEmpty()) << "zelto-sim gave no device";

    qputenv("ZELTO_COM1", sim.chemin.toLocal8Bit());
    PortSerieQt port;
    port.setCommPort(1);
    port.setSettings(QStringLiteral("9600,N,8,1"));
    ASSERT_EQ(port.open(), 0);

    HorlogeReelle horloge;
    ServicesUiScriptes services;
    FenetrePrincipaleFactice principale(port);
    Installation installation(horloge, services, principale);

    // Link test: a bare line feed is answered.
    port.output(QByteArray(1, '\n'));
    EXPECT_TRUE(horloge.attendreDonnees(port, 2.0));
    port.input();

    const double t0 = horloge.maintenant();
    cmdCode = QStringLiteral("$ur410");
    envoyerCommande(cmdCode, QStringLiteral("B"), QStringLiteral("$ur"), QStringLiteral("Ur"));
    EXPECT_EQ(reponse, QStringLiteral("410\x1a"));
    EXPECT_LT(horloge.maintenant() - t0, 1.0);

    cmdCode = QStringLiteral("LES");
    envoyerCommande(cmdCode, QStringLiteral("L"), QString(), QString());
    EXPECT_EQ(reponse, QStringLiteral("30;V15;12-03-04;ZT2030;1250;310;\x1a"));

    EXPECT_TRUE(principale.enLigne);
    EXPECT_TRUE(services.messages.empty());
    port.close();
    EXPECT_EQ(lignesFichier(journal), QStringList({"", "$ur410", "Ur", "LES"}));
}

TEST(E2e, portErrors)
{
    if (!pseudoTerminauxDisponibles()) GTEST_SKIP() << "no pseudo-terminals";
    Simulateur sim({});
    ASSERT_FALSE(sim.chemin.isEmpty());

    qputenv("ZELTO_COM2", sim.chemin.toLocal8Bit());
    qputenv("ZELTO_COM3", "/dev/zelto-no-such-port");
    PortSerieQt a, b, absent, ferme;
    a.setCommPort(2);
    b.setCommPort(2);
    absent.setCommPort(3);
    EXPECT_EQ(PortSerieQt::cheminPort(2), sim.chemin);
    qunsetenv("ZELTO_COM4");
    EXPECT_EQ(PortSerieQt::cheminPort(4), QStringLiteral("/dev/ttyS3"));

    ASSERT_EQ(a.open(), 0);
    EXPECT_EQ(a.open(), erreursPort::dejaOuvert);
    EXPECT_EQ(b.open(), erreursPort::dejaOuvert);
    EXPECT_EQ(absent.open(), erreursPort::indisponible);
    EXPECT_FALSE(absent.isOpen());

    // Nothing happens on a closed port.
    ferme.output("x");
    EXPECT_EQ(ferme.inBufferCount(), 0);
    EXPECT_FALSE(ferme.waitForInput(10));

    PortSerieQt mauvais;
    mauvais.setCommPort(2);
    a.close();
    mauvais.setSettings(QStringLiteral("9600,Q,8,1"));
    EXPECT_EQ(mauvais.open(), erreursPort::inattendue);
    EXPECT_FALSE(mauvais.isOpen());
}

// The blocking waits of the real clock: data wakes them, silence lets them run out.
TEST(E2e, realClockWaits)
{
    if (!pseudoTerminauxDisponibles()) GTEST_SKIP() << "no pseudo-terminals";
    Simulateur sim({"--sans-echo"});
    ASSERT_FALSE(sim.chemin.isEmpty());
    qputenv("ZELTO_COM1", sim.chemin.toLocal8Bit());
    PortSerieQt port;
    ASSERT_EQ(port.open(), 0);
    HorlogeReelle h;

    double t = h.maintenant();
    port.output("U");
    EXPECT_FALSE(h.attendreDonnees(port, 0.2));
    EXPECT_GE(h.maintenant() - t, 0.2);
    EXPECT_LT(h.maintenant() - t, 1.0);

    t = h.maintenant();
    port.output("r\n");
    EXPECT_TRUE(h.attendreDonnees(port, 2.0));
    EXPECT_LT(h.maintenant() - t, 0.5);

    t = h.maintenant();
    h.attendre(0.001);
    const double pause = h.maintenant() - t;
    EXPECT_GE(pause, 0.001);
    EXPECT_LT(pause, 0.01);
}

// A device that went away (the far end of the line closed): the port counts
// as closed, a wait on it ends at once, and the loss is reported once, from
// the event loop.
TEST(E2e, vanishedDeviceClosesThePort)
{
    if (!pseudoTerminauxDisponibles()) GTEST_SKIP() << "no pseudo-terminals";
    PortSerieQt port;
    int pertes = 0;
    port.surPerte = [&] { ++pertes; };
    {
        Simulateur sim({});
        ASSERT_FALSE(sim.chemin.isEmpty());
        qputenv("ZELTO_COM1", sim.chemin.toLocal8Bit());
        port.setCommPort(1);
        ASSERT_EQ(port.open(), 0);
    }
    HorlogeReelle h;
    port.output("U");
    const double t = h.maintenant();
    EXPECT_FALSE(h.attendreDonnees(port, 2.0));
    EXPECT_LT(h.maintenant() - t, 0.1);
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(port.inBufferCount(), 0);
    EXPECT_EQ(pertes, 0);
    for (int i = 0; i < 5; ++i) h.traiterEvenements();
    EXPECT_EQ(pertes, 1);
    port.close();
    EXPECT_FALSE(port.isOpen());
}

// A tick that processes events is not entered again while it runs.
TEST(E2e, realTimerTickNotReentered)
{
    HorlogeReelle h;
    auto m = h.creerMinuterie();
    int profondeur = 0, profondeurMax = 0, ticks = 0;
    m->surTick = [&]() {
        ++ticks;
        profondeurMax = std::max(profondeurMax, ++profondeur);
        const double fin = h.maintenant() + 0.05;
        while (h.maintenant() < fin) {
            h.traiterEvenements();
            h.attendre(0.002);
        }
        --profondeur;
    };
    m->setInterval(5);
    m->setEnabled(true);
    EXPECT_TRUE(m->enabled());
    const double fin = h.maintenant() + 0.2;
    while (h.maintenant() < fin) {
        h.traiterEvenements();
        h.attendre(0.002);
    }
    m->setEnabled(false);
    EXPECT_GE(ticks, 2);
    EXPECT_EQ(profondeurMax, 1);
}

}  // namespace
