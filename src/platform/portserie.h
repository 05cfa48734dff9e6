#pragma once
// The serial port as the program uses it: the operations of the original
// comm control, nothing more. Production: PortSerieQt; tests: a simulated
// converter behind the same interface.

#include <QByteArray>
#include <QString>

#include <functional>

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
    // False once the device behind an open port has gone away (a USB
    // adapter pulled out, the far end of a pseudo-terminal closed): the
    // port is closed from then on.
    virtual bool isOpen() const = 0;

    virtual int inBufferCount() = 0;          // characters waiting
    virtual QByteArray input() = 0;           // all waiting characters
    virtual void output(const QByteArray& octets) = 0;

    // Blocks without processing events until input is waiting, the time
    // has passed or the device has gone; true when input is waiting.
    virtual bool waitForInput(int millisecondes) = 0;

    // Called once when the device of the open port has gone, from the
    // event loop (never inside a port operation).
    std::function<void()> surPerte;
};

// Port error numbers of the link test.
namespace erreursPort {
constexpr int dejaOuvert = 8005;
constexpr int indisponible = 8002;
constexpr int nonOuvert = 8012;
constexpr int inattendue = 8015;
}
