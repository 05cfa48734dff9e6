#pragma once
// The serial port as the program uses it: the operations of the original
// comm control, nothing more. Production: PortSerieQt; tests: a simulated
// converter behind the same interface.

#include <QByteArray>
#include <QString>

class ISerialPort {
public:
    virtual ~ISerialPort() = default;

    virtual void setCommPort(int numero) = 0;      // 1 to 4
    virtual int commPort() const = 0;
    virtual void setSettings(const QString& reglages) = 0;   // "9600,N,8,1"
    virtual QString settings() const = 0;

    // Opens the port; 0 on success, else a port error number 8000-8021
    // (8002 unavailable, 8005 already open, 8012 not open, 8015 unexpected).
    virtual int open() = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;

    virtual int inBufferCount() = 0;          // characters waiting
    virtual QByteArray input() = 0;           // all waiting characters
    virtual void output(const QByteArray& octets) = 0;

    // Blocks without processing events until input is waiting or the time
    // has passed; true when input is waiting.
    virtual bool waitForInput(int millisecondes) = 0;
};

// Port error numbers of the link test.
namespace erreursPort {
constexpr int dejaOuvert = 8005;
constexpr int indisponible = 8002;
constexpr int nonOuvert = 8012;
constexpr int inattendue = 8015;
}
