// zelto-bench: a batch of reads and writes through the real serial path
// (PortSerieQt, HorlogeReelle) against zelto-sim paced at 9600 baud, compared
// with the protocol's own wire time.
//
// Wire time: per command character 1 ms pause + the character out + its echo
// back (2 character times); per line feed one character time; per reply byte
// one character time. A character time is 10 bits at 9600 baud.

#include "sim/bancessai.h"

#include "link/transaction.h"
#include "platform/horlogereelle.h"
#include "platform/plateforme.h"
#include "platform/portserieqt.h"

#include <QCoreApplication>
#include <QProcess>

#include <cstdio>
#include <sys/resource.h>

namespace {

constexpr double tempsCaractere = 10.0 / 9600.0;

// Counts what crosses the port.
class PortCompte : public ISerialPort {
public:
    explicit PortCompte(ISerialPort& p) : p_(p) {}
    void setCommPort(int n) override { p_.setCommPort(n); }
    int commPort() const override { return p_.commPort(); }
    void setSettings(const QString& r) override { p_.setSettings(r); }
    QString settings() const override { return p_.settings(); }
    int open() override { return p_.open(); }
    void close() override { p_.close(); }
    bool isOpen() const override { return p_.isOpen(); }
    int inBufferCount() override { return p_.inBufferCount(); }
    QByteArray input() override
    {
        const QByteArray r = p_.input();
        recus += r.size();
        return r;
    }
    void output(const QByteArray& o) override
    {
        for (char c : o) ++(c == '\n' ? finsLigne : caracteres);
        p_.output(o);
    }
    bool waitForInput(int ms) override { return p_.waitForInput(ms); }

    long caracteres = 0;
    long finsLigne = 0;
    long recus = 0;

private:
    ISerialPort& p_;
};

double cpu()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    int nbTransactions = 100;
    if (argc > 1) nbTransactions = std::max(1, atoi(argv[1]));

    QProcess sim;
    sim.start(QCoreApplication::applicationDirPath() + QStringLiteral("/zelto-sim"),
              {"--baud", "9600", "--delai", "0", "--version", "V15"});
    if (!sim.waitForStarted(5000)) {
        std::fprintf(stderr, "zelto-bench: cannot start zelto-sim\n");
        return 1;
    }
    while (!sim.canReadLine() && sim.waitForReadyRead(5000)) {
    }
    const QString chemin = QString::fromLocal8Bit(sim.readLine()).trimmed();
    if (chemin.isEmpty()) {
        std::fprintf(stderr, "zelto-bench: zelto-sim gave no device\n");
        return 1;
    }
    qputenv("ZELTO_COM1", chemin.toLocal8Bit());

    PortSerieQt portQt;
    PortCompte port(portQt);
    port.setCommPort(1);
    if (const int e = port.open()) {
        std::fprintf(stderr, "zelto-bench: port error %d\n", e);
        return 1;
    }
    HorlogeReelle horloge;
    ServicesUiScriptes services;
    FenetrePrincipaleFactice principale(port);
    reinitialiserEtatModule();
    plateforme().horloge = &horloge;
    plateforme().ui = &services;
    plateforme().principale = &principale;

    int fautes = 0;
    const double cpu0 = cpu();
    const double t0 = horloge.maintenant();
    for (int i = 0; i < nbTransactions && principale.enLigne; ++i) {
        QString attendu;
        switch (i % 4) {
        case 0:
            cmdCode = QStringLiteral("$ur") + QString::number(400 + i % 80);
            envoyerCommande(cmdCode, QStringLiteral("B"), QStringLiteral("$ur"), QStringLiteral("Ur"));
            attendu = QString::number(400 + i % 80);
            break;
        case 1:
            cmdCode = QStringLiteral("Ur");
            envoyerCommande(cmdCode, QStringLiteral("L"), QString(), QString());
            attendu = QString::number(400 + (i - 1) % 80);
            break;
        case 2:
            cmdCode = QStringLiteral("$ng") + QString::number(i % 64 + 1);
            envoyerCommande(cmdCode, QStringLiteral("B"), QStringLiteral("$ng"), QStringLiteral("NG"));
            attendu = QString::number(i % 64 + 1);
            break;
        default:
            cmdCode = QStringLiteral("LES");
            envoyerCommande(cmdCode, QStringLiteral("L"), QString(), QString());
            attendu = QStringLiteral("30;V15;");
            break;
        }
        if (!reponse.startsWith(attendu)) ++fautes;
    }
    const double mur = horloge.maintenant() - t0;
    const double processeur = cpu() - cpu0;

    const long echos = port.caracteres;
    const long octetsReponse = std::max(0L, port.recus - echos);
    const double fil = port.caracteres * (0.001 + 2 * tempsCaractere) + port.finsLigne * tempsCaractere
        + octetsReponse * tempsCaractere;

    std::printf("transactions        %d (%d wrong replies)\n", nbTransactions, fautes);
    std::printf("characters sent     %ld + %ld line feeds, bytes received %ld\n", port.caracteres, port.finsLigne,
                port.recus);
    std::printf("wall time           %.3f s\n", mur);
    std::printf("wire time           %.3f s\n", fil);
    std::printf("wall / wire         %.3f\n", mur / fil);
    std::printf("CPU                 %.3f s (%.1f %% of wall time)\n", processeur, 100.0 * processeur / mur);

    port.close();
    plateforme() = Plateforme{};
    sim.closeWriteChannel();
    if (!sim.waitForFinished(2000)) sim.kill();
    return fautes == 0 && principale.enLigne ? 0 : 1;
}
