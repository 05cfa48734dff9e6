#pragma once
// Tells when something happened on the X server's clock, the clock of the
// input events: a property of an unmapped window of the program's own is
// touched (one request, no reply awaited), and the server's notice of it,
// which comes back in order with the input events, carries the server's
// time. Nothing changes on a window that is not the program's.

#include <QAbstractNativeEventFilter>

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>

class MarqueurX11 : public QAbstractNativeEventFilter {
public:
    using Reponse = std::function<void(std::uint64_t numero, unsigned long temps)>;

    // Null when the application does not run on X11.
    static std::unique_ptr<MarqueurX11> creer(Reponse quandConnu);
    ~MarqueurX11() override;

    // Asks the server's time; quandConnu gets it with the number once the
    // notice is read. False when the request could not go.
    bool marquer(std::uint64_t numero);

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr* resultat) override;

private:
    MarqueurX11(void* connexion, std::uint32_t fenetre, Reponse quandConnu);

    void* connexion_;
    std::uint32_t fenetre_;
    Reponse quandConnu_;
    std::deque<std::uint64_t> enAttente_;
};
