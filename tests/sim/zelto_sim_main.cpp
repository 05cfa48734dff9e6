// zelto-sim: the simulated converter behind a pseudo-terminal, in real time.
// Prints the slave device path on stdout, echoes each byte, answers each
// line. Runs until killed or until its stdin (a pipe or a terminal) closes.
// Lines on that stdin change the replies at run time: "delai SECONDS",
// "silence" (no echo, no reply), "parle" (echo and replies again).
// --horaires writes one line per journal line: when the command was
// complete and when its reply's last byte is due ("-": no reply), in
// seconds since the epoch.
//
//   zelto-sim [--lien PATH] [--baud 9600] [--version 18A] [--verrouille]
//             [--journal FILE] [--horaires FILE] [--delai SECONDS]
//             [--sans-echo] [--silence]

#include "convertisseursim.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QFile>
#include <QList>
#include <QString>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

namespace {

using Temps = long long;   // nanoseconds, CLOCK_MONOTONIC

Temps maintenant()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return Temps(t.tv_sec) * 1000000000LL + t.tv_nsec;
}

// A CLOCK_MONOTONIC time as seconds since the epoch.
QByteArray horaire(Temps t)
{
    timespec r{};
    clock_gettime(CLOCK_REALTIME, &r);
    const Temps ecart = Temps(r.tv_sec) * 1000000000LL + r.tv_nsec - maintenant();
    return QByteArray::number(double(t + ecart) / 1e9, 'f', 6);
}

struct Octet {
    Temps quand;   // time at which the byte is complete on the line
    char c;
};

int usage()
{
    std::fprintf(stderr,
                 "usage: zelto-sim [--lien PATH] [--baud N] [--version TEXT] [--verrouille]\n"
                 "                 [--journal FILE] [--horaires FILE] [--delai SECONDS]\n"
                 "                 [--sans-echo] [--silence]\n"
                 "lines on stdin at run time: delai SECONDS | silence | parle\n");
    return 2;
}

// A line from stdin: the reply delay, or silence on or off.
void regler(ConvertisseurSim& sim, const QByteArray& ligne)
{
    const QList<QByteArray> mots = ligne.simplified().split(' ');
    if (mots.size() == 2 && mots[0] == "delai")
        sim.delaiReponse = std::strtod(mots[1].constData(), nullptr);
    else if (mots.size() == 1 && mots[0] == "silence")
        sim.silence = true;
    else if (mots.size() == 1 && mots[0] == "parle")
        sim.silence = false;
    else if (!ligne.simplified().isEmpty())
        std::fprintf(stderr, "zelto-sim: ignored: %s\n", ligne.constData());
}

bool surveillerEntree()
{
    struct stat s{};
    if (fstat(STDIN_FILENO, &s) != 0) return false;
    return S_ISFIFO(s.st_mode) || S_ISSOCK(s.st_mode) || isatty(STDIN_FILENO);
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ConvertisseurSim sim;
    QString lien;
    QString journal;
    QString horaires;
    long baud = 0;

    for (int i = 1; i < argc; ++i) {
        const QByteArray a = argv[i];
        auto suivant = [&]() -> const char* { return i + 1 < argc ? argv[++i] : nullptr; };
        if (a == "--lien") {
            const char* v = suivant();
            if (!v) return usage();
            lien = QString::fromLocal8Bit(v);
        } else if (a == "--baud") {
            const char* v = suivant();
            if (!v) return usage();
            baud = std::strtol(v, nullptr, 10);
        } else if (a == "--version") {
            const char* v = suivant();
            if (!v) return usage();
            sim.version = QString::fromLatin1(v);
        } else if (a == "--journal") {
            const char* v = suivant();
            if (!v) return usage();
            journal = QString::fromLocal8Bit(v);
        } else if (a == "--horaires") {
            const char* v = suivant();
            if (!v) return usage();
            horaires = QString::fromLocal8Bit(v);
        } else if (a == "--delai") {
            const char* v = suivant();
            if (!v) return usage();
            sim.delaiReponse = std::strtod(v, nullptr);
        } else if (a == "--verrouille") {
            sim.verrouille = true;
        } else if (a == "--sans-echo") {
            sim.sansEcho = true;
        } else if (a == "--silence") {
            sim.silence = true;
        } else {
            return usage();
        }
    }
    signal(SIGPIPE, SIG_IGN);

    const int maitre = posix_openpt(O_RDWR | O_NOCTTY);
    if (maitre < 0 || grantpt(maitre) != 0 || unlockpt(maitre) != 0) {
        std::fprintf(stderr, "zelto-sim: no pseudo-terminal: %s\n", std::strerror(errno));
        return 1;
    }
    const char* nom = ptsname(maitre);
    if (!nom) return 1;
    const QByteArray esclave = nom;
    // Holding the slave open keeps the master from hanging up between clients.
    const int fdEsclave = ::open(esclave.constData(), O_RDWR | O_NOCTTY);
    if (fdEsclave < 0) return 1;
    termios t{};
    if (tcgetattr(fdEsclave, &t) == 0) {
        cfmakeraw(&t);
        tcsetattr(fdEsclave, TCSANOW, &t);
    }
    fcntl(maitre, F_SETFL, fcntl(maitre, F_GETFL) | O_NONBLOCK);

    if (!lien.isEmpty()) {
        const QByteArray l = QFile::encodeName(lien);
        ::unlink(l.constData());
        if (::symlink(esclave.constData(), l.constData()) != 0) {
            std::fprintf(stderr, "zelto-sim: symlink %s: %s\n", l.constData(), std::strerror(errno));
            return 1;
        }
    }
    std::printf("%s\n", esclave.constData());
    std::fflush(stdout);

    QFile fichierJournal(journal);
    if (!journal.isEmpty() && !fichierJournal.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        std::fprintf(stderr, "zelto-sim: cannot write %s\n", qPrintable(journal));
        return 1;
    }
    QFile fichierHoraires(horaires);
    if (!horaires.isEmpty() && !fichierHoraires.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        std::fprintf(stderr, "zelto-sim: cannot write %s\n", qPrintable(horaires));
        return 1;
    }

    // One character time: 10 bits at the given rate; 0 = no pacing.
    const Temps car = baud > 0 ? Temps(10'000'000'000LL / baud) : 0;
    Temps finReception = 0;     // last received byte complete
    Temps finEmission = 0;      // last sent byte complete
    std::deque<Octet> aRecevoir; // read from the master, not yet through the line
    std::deque<Octet> aEmettre;  // to the master, at their time
    QByteArray ligne;
    QByteArray reglage;   // stdin, up to its next line feed
    const bool entree = surveillerEntree();

    auto emettre = [&](Temps depart, const QByteArray& octets) {
        Temps q = std::max(depart, finEmission);
        for (char c : octets) {
            q += car;
            aEmettre.push_back({q, c});
        }
        finEmission = q;
    };

    while (true) {
        const Temps t0 = maintenant();
        // Received bytes whose line time is over: echo, and answer a line.
        while (!aRecevoir.empty() && aRecevoir.front().quand <= t0) {
            const Octet o = aRecevoir.front();
            aRecevoir.pop_front();
            if (o.c == '\n') {
                const QByteArray r = sim.traiterLigne(ligne);
                if (!r.isEmpty()) emettre(o.quand + Temps(sim.delaiReponse * 1e9), r);
                // The times first: a journal line read has its times.
                if (fichierHoraires.isOpen()) {
                    fichierHoraires.write(horaire(o.quand) + ' ' + (r.isEmpty() ? "-" : horaire(finEmission)) + '\n');
                    fichierHoraires.flush();
                }
                if (fichierJournal.isOpen()) {
                    fichierJournal.write(ligne + '\n');
                    fichierJournal.flush();
                }
                ligne.clear();
            } else {
                ligne += o.c;
                if (!sim.sansEcho && !sim.silence) emettre(o.quand, QByteArray(1, o.c));
            }
        }
        // Bytes due on the line.
        QByteArray dus;
        while (!aEmettre.empty() && aEmettre.front().quand <= t0) {
            dus += aEmettre.front().c;
            aEmettre.pop_front();
        }
        if (!dus.isEmpty()) {
            qsizetype ecrit = 0;
            while (ecrit < dus.size()) {
                const ssize_t n = ::write(maitre, dus.constData() + ecrit, size_t(dus.size() - ecrit));
                if (n > 0) {
                    ecrit += n;
                } else if (n < 0 && errno == EAGAIN) {
                    pollfd p{maitre, POLLOUT, 0};
                    ::poll(&p, 1, 10);
                } else if (n < 0 && errno != EINTR) {
                    break;
                }
            }
        }

        Temps prochain = -1;
        if (!aRecevoir.empty()) prochain = aRecevoir.front().quand;
        if (!aEmettre.empty() && (prochain < 0 || aEmettre.front().quand < prochain)) prochain = aEmettre.front().quand;

        pollfd fds[2] = {{maitre, POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
        timespec delai{};
        timespec* pDelai = nullptr;
        if (prochain >= 0) {
            const Temps d = std::max<Temps>(0, prochain - maintenant());
            delai.tv_sec = time_t(d / 1000000000LL);
            delai.tv_nsec = long(d % 1000000000LL);
            pDelai = &delai;
        }
        const int n = ::ppoll(fds, entree ? 2 : 1, pDelai, nullptr);
        if (n < 0) {
            if (errno == EINTR) continue;
            break;
        }
        if (entree && (fds[1].revents & (POLLIN | POLLHUP))) {
            char b[256];
            const ssize_t r = ::read(STDIN_FILENO, b, sizeof b);
            if (r <= 0) break;
            reglage.append(b, r);
            for (qsizetype fin; (fin = reglage.indexOf('\n')) >= 0; reglage.remove(0, fin + 1))
                regler(sim, reglage.left(fin));
        }
        if (fds[0].revents & POLLIN) {
            char b[4096];
            const ssize_t r = ::read(maitre, b, sizeof b);
            const Temps ta = maintenant();
            for (ssize_t i = 0; i < r; ++i) {
                // Each byte takes one character time on the line.
                finReception = std::max(ta, finReception) + car;
                aRecevoir.push_back({finReception, b[i]});
            }
        }
    }

    if (!lien.isEmpty()) ::unlink(QFile::encodeName(lien).constData());
    ::close(fdEsclave);
    ::close(maitre);
    return 0;
}
