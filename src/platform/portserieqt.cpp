#include "portserieqt.h"

#include <QStringList>
#include <QTimer>

#include <algorithm>

#include <poll.h>

PortSerieQt::PortSerieQt()
{
    QObject::connect(&port_, &QSerialPort::errorOccurred, &port_,
                     [this](QSerialPort::SerialPortError e) { surErreur(e); });
}

PortSerieQt::~PortSerieQt()
{
    QObject::disconnect(&port_, nullptr, nullptr, nullptr);
    if (port_.isOpen()) port_.close();
}

QString PortSerieQt::cheminPort(int numero)
{
    const QByteArray variable = "ZELTO_COM" + QByteArray::number(numero);
    const QString chemin = qEnvironmentVariable(variable.constData());
    if (!chemin.isEmpty()) return chemin;
    return QStringLiteral("/dev/ttyS") + QString::number(numero - 1);
}

bool PortSerieQt::appliquerReglages()
{
    // "9600,N,8,1": baud, parity, data bits, stop bits.
    const QStringList p = reglages_.split(u',');
    if (p.size() != 4) return false;
    bool ok = false;
    const int baud = p[0].trimmed().toInt(&ok);
    if (!ok || baud <= 0) return false;

    QSerialPort::Parity parite;
    const QString pa = p[1].trimmed().toUpper();
    if (pa == QLatin1String("N")) parite = QSerialPort::NoParity;
    else if (pa == QLatin1String("E")) parite = QSerialPort::EvenParity;
    else if (pa == QLatin1String("O")) parite = QSerialPort::OddParity;
    else if (pa == QLatin1String("M")) parite = QSerialPort::MarkParity;
    else if (pa == QLatin1String("S")) parite = QSerialPort::SpaceParity;
    else return false;

    QSerialPort::DataBits bits;
    switch (p[2].trimmed().toInt()) {
    case 5: bits = QSerialPort::Data5; break;
    case 6: bits = QSerialPort::Data6; break;
    case 7: bits = QSerialPort::Data7; break;
    case 8: bits = QSerialPort::Data8; break;
    default: return false;
    }

    QSerialPort::StopBits arret;
    const QString st = p[3].trimmed();
    if (st == QLatin1String("1")) arret = QSerialPort::OneStop;
    else if (st == QLatin1String("1.5")) arret = QSerialPort::OneAndHalfStop;
    else if (st == QLatin1String("2")) arret = QSerialPort::TwoStop;
    else return false;

    return port_.setBaudRate(baud) && port_.setParity(parite) && port_.setDataBits(bits)
        && port_.setStopBits(arret) && port_.setFlowControl(QSerialPort::NoFlowControl);
}

bool PortSerieQt::peripheriqueParti(QSerialPort::SerialPortError erreur)
{
    switch (erreur) {
    case QSerialPort::ResourceError:
        return true;
    case QSerialPort::ReadError:
    case QSerialPort::WriteError: {
        // A read or write that failed on a line that hung up (the far end
        // of a pseudo-terminal reads as end of file).
        pollfd p{static_cast<int>(port_.handle()), 0, 0};
        return ::poll(&p, 1, 0) > 0 && (p.revents & (POLLHUP | POLLERR | POLLNVAL));
    }
    default:
        return false;
    }
}

void PortSerieQt::surErreur(QSerialPort::SerialPortError erreur)
{
    if (perdu_ || !port_.isOpen() || !peripheriqueParti(erreur)) return;
    perdu_ = true;
    // Closed and reported from the event loop, outside QSerialPort's own code.
    QTimer::singleShot(0, &port_, [this] {
        if (!perdu_) return;   // closed or opened again meanwhile
        fermerSiPerdu();
        if (surPerte) surPerte();
    });
}

void PortSerieQt::fermerSiPerdu()
{
    if (perdu_ && port_.isOpen()) {
        port_.close();
        port_.clearError();
    }
}

int PortSerieQt::open()
{
    if (isOpen()) return erreursPort::dejaOuvert;
    fermerSiPerdu();
    perdu_ = false;
    port_.setPortName(cheminPort(numero_));
    port_.clearError();
    if (!port_.open(QIODevice::ReadWrite)) {
        const QSerialPort::SerialPortError e = port_.error();
        port_.clearError();
        switch (e) {
        case QSerialPort::DeviceNotFoundError: return erreursPort::indisponible;
        case QSerialPort::PermissionError:
        case QSerialPort::OpenError: return erreursPort::dejaOuvert;
        case QSerialPort::NotOpenError: return erreursPort::nonOuvert;
        default: return erreursPort::inattendue;
        }
    }
    if (!appliquerReglages()) {
        port_.close();
        port_.clearError();
        return erreursPort::inattendue;
    }
    port_.clear(QSerialPort::AllDirections);
    return 0;
}

void PortSerieQt::close()
{
    if (port_.isOpen()) port_.close();
    perdu_ = false;
    port_.clearError();
}

void PortSerieQt::lireEnAttente()
{
    // Pulls what the system holds into the port's buffer without waiting:
    // the buffer is otherwise filled only by the event loop.
    if (isOpen() && port_.bytesAvailable() == 0) {
        port_.waitForReadyRead(0);
        if (port_.error() == QSerialPort::TimeoutError) port_.clearError();
    }
}

// Every operation on a port whose device went away finds it closed.

int PortSerieQt::inBufferCount()
{
    lireEnAttente();
    fermerSiPerdu();
    if (!isOpen()) return 0;
    return int(port_.bytesAvailable());
}

QByteArray PortSerieQt::input()
{
    lireEnAttente();
    fermerSiPerdu();
    if (!isOpen()) return QByteArray();
    return port_.readAll();
}

void PortSerieQt::output(const QByteArray& octets)
{
    fermerSiPerdu();
    if (!isOpen() || octets.isEmpty()) return;
    port_.write(octets);
    // Out now: the caller waits for the echo without processing events.
    port_.waitForBytesWritten(100);
    if (port_.error() == QSerialPort::TimeoutError) port_.clearError();
    fermerSiPerdu();
}

bool PortSerieQt::waitForInput(int millisecondes)
{
    fermerSiPerdu();
    if (!isOpen()) return false;
    if (port_.bytesAvailable() > 0) return true;
    const bool lu = port_.waitForReadyRead(std::max(0, millisecondes));
    if (!lu && port_.error() == QSerialPort::TimeoutError) port_.clearError();
    fermerSiPerdu();
    return isOpen() && port_.bytesAvailable() > 0;
}
