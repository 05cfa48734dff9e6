#include "marqueurx11.h"

#include <xcb/xcb.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

namespace {

xcb_connection_t* connexionX11()
{
    auto* appli = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (!appli) return nullptr;
    auto* x11 = appli->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

} // namespace

std::unique_ptr<MarqueurX11> MarqueurX11::creer(Reponse quandConnu)
{
    xcb_connection_t* c = connexionX11();
    if (!c || xcb_connection_has_error(c)) return nullptr;
    const xcb_screen_t* ecran = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    if (!ecran) return nullptr;
    // Input-only and never mapped: no window manager or panel watches it.
    const xcb_window_t fenetre = xcb_generate_id(c);
    const std::uint32_t masque = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(c, XCB_COPY_FROM_PARENT, fenetre, ecran->root, -1, -1, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY,
                      XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK, &masque);
    xcb_flush(c);
    std::unique_ptr<MarqueurX11> m(new MarqueurX11(c, fenetre, std::move(quandConnu)));
    QCoreApplication::instance()->installNativeEventFilter(m.get());
    return m;
}

MarqueurX11::MarqueurX11(void* connexion, std::uint32_t fenetre, Reponse quandConnu)
    : connexion_(connexion), fenetre_(fenetre), quandConnu_(std::move(quandConnu))
{
}

// The filter leaves the dispatcher by itself; the window goes with the
// connection.
MarqueurX11::~MarqueurX11() = default;

bool MarqueurX11::marquer(std::uint64_t numero)
{
    auto* c = static_cast<xcb_connection_t*>(connexion_);
    if (xcb_connection_has_error(c)) return false;
    // Appending nothing changes nothing but is noticed, with the time.
    xcb_change_property(c, XCB_PROP_MODE_APPEND, fenetre_, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8, 0, nullptr);
    xcb_flush(c);
    enAttente_.push_back(numero);
    return true;
}

bool MarqueurX11::nativeEventFilter(const QByteArray& type, void* message, qintptr*)
{
    if (type != "xcb_generic_event_t") return false;
    const auto* e = static_cast<const xcb_generic_event_t*>(message);
    if ((e->response_type & 0x7f) != XCB_PROPERTY_NOTIFY) return false;
    const auto* p = static_cast<const xcb_property_notify_event_t*>(message);
    if (p->window != fenetre_) return false;
    // Notices come in the order of the requests.
    if (!enAttente_.empty()) {
        const std::uint64_t numero = enAttente_.front();
        enAttente_.pop_front();
        quandConnu_(numero, p->time);
    }
    return true;
}
