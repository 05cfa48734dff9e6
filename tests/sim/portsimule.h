#pragma once
// A serial port with a ConvertisseurSim at the other end, on the virtual
// clock. Each byte written is echoed after delaiEcho (none with sansEcho or
// silence); a line feed hands the line to the model and its reply arrives
// delaiReponse (the model's knob) later. Bytes are visible to
// inBufferCount()/input() only once the clock has reached their arrival time;
// the port tells the clock its next arrival, so waits jump to it.

#include "platform/portserie.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <vector>

class ConvertisseurSim;
class HorlogeVirtuelle;

class PortSimule : public ISerialPort {
public:
    PortSimule(ConvertisseurSim& sim, HorlogeVirtuelle& horloge);
    ~PortSimule() override;

    void setCommPort(int numero) override { port_ = numero; }
    int commPort() const override { return port_; }
    void setSettings(const QString& reglages) override { reglages_ = reglages; }
    QString settings() const override { return reglages_; }

    int open() override;
    void close() override;
    bool isOpen() const override { return ouvert_ && !perdu_; }

    int inBufferCount() override;
    QByteArray input() override;
    void output(const QByteArray& octets) override;
    bool waitForInput(int millisecondes) override;

    // Every byte written while open, in order.
    QByteArray octetsEcrits;
    // Each byte written while open: the clock's time and the bytes that
    // had arrived and were still unread at that moment.
    struct Ecriture {
        double temps;
        char octet;
        int nonLus;
    };
    std::vector<Ecriture> ecritures;
    // Bytes written while the reply to an earlier line was still on its way:
    // a command sent inside another exchange's reply wait.
    int ecrituresPendantReponse = 0;
    // > 0: each echo is followed that many seconds later by a stray byte.
    double parasiteApresEcho = 0;
    // open() answers this error number when not 0 (e.g. 8002).
    int erreurOuverture = 0;
    // The device goes away (an adapter pulled out): the open port counts as
    // closed, what was on its way is lost, open() answers 8002 from now on,
    // and surPerte is called at the next event processing.
    void perdre();
    // >= 0: the device goes away once that many bytes have been written.
    int perteApresOctets = -1;
    // Seconds before the echo of a byte.
    double delaiEcho = 0.001;
    int nbOuvertures = 0;
    int nbFermetures = 0;

private:
    struct Etat;
    void recevoir();

    ConvertisseurSim& sim_;
    HorlogeVirtuelle& horloge_;
    std::shared_ptr<Etat> etat_;
    QByteArray ligne_;
    int port_ = 1;
    QString reglages_ = QStringLiteral("9600,N,8,1");
    bool ouvert_ = false;
    bool perdu_ = false;
    double reponseJusqua_ = 0;   // arrival of the last reply sent
};
