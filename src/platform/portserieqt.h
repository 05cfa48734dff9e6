#pragma once
// The serial port over QSerialPort. Port n is the device /dev/ttyS<n-1>
// unless the environment variable ZELTO_COM<n> names another device path
// (a USB adapter, a pseudo-terminal). A port error that means the device
// has gone closes the port and is reported through surPerte.

#include "portserie.h"

#include <QSerialPort>

class PortSerieQt : public ISerialPort {
public:
    PortSerieQt();
    ~PortSerieQt() override;

    void setCommPort(int numero) override { numero_ = numero; }
    int commPort() const override { return numero_; }
    void setSettings(const QString& reglages) override { reglages_ = reglages; }
    QString settings() const override { return reglages_; }

    int open() override;
    void close() override;
    bool isOpen() const override { return port_.isOpen() && !perdu_; }

    int inBufferCount() override;
    QByteArray input() override;
    void output(const QByteArray& octets) override;
    bool waitForInput(int millisecondes) override;

    // Device path of port n.
    static QString cheminPort(int numero);

private:
    bool appliquerReglages();
    void lireEnAttente();
    void surErreur(QSerialPort::SerialPortError erreur);
    bool peripheriqueParti(QSerialPort::SerialPortError erreur);
    void fermerSiPerdu();

    QSerialPort port_;
    bool perdu_ = false;   // the device went away; the port counts as closed
    int numero_ = 1;
    QString reglages_ = QStringLiteral("9600,N,8,1");
};
