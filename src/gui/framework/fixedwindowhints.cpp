#include "gui/framework/fixedwindowhints.h"

#include <QGuiApplication>
#include <QWidget>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#if QT_CONFIG(xcb)
#include <xcb/xcb.h>
#endif

#if QT_CONFIG(xcb)
namespace {

// The Motif window manager hints: which fields count, the functions offered,
// the decorations drawn.
constexpr std::uint32_t kHintFunctions = 1u << 0;
constexpr std::uint32_t kHintDecorations = 1u << 1;
constexpr std::uint32_t kFunctionMove = 1u << 2;
constexpr std::uint32_t kFunctionMinimize = 1u << 3;
constexpr std::uint32_t kFunctionClose = 1u << 5;
constexpr std::uint32_t kDecorationBorder = 1u << 1;
constexpr std::uint32_t kDecorationTitle = 1u << 3;
constexpr std::uint32_t kDecorationMenu = 1u << 4;
constexpr std::uint32_t kDecorationMinimize = 1u << 5;

xcb_atom_t atomNamed(xcb_connection_t* connection, const char* name) {
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return atom;
}

} // namespace

void announceFixedWindow(QWidget& window) {
    // the offscreen platform answers to the X11 interface too, without a connection
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !window.isWindow() || QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    xcb_connection_t* connection = x11->connection();
    if (!connection)
        return;
    const xcb_atom_t hints = atomNamed(connection, "_MOTIF_WM_HINTS");
    if (hints == XCB_ATOM_NONE)
        return;
    // flags, functions, decorations, input mode, status
    const std::uint32_t value[5] = {
        kHintFunctions | kHintDecorations, kFunctionMove | kFunctionMinimize | kFunctionClose,
        kDecorationBorder | kDecorationTitle | kDecorationMenu | kDecorationMinimize, 0, 0};
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE,
                        static_cast<xcb_window_t>(window.winId()), hints, hints, 32, 5, value);
    xcb_flush(connection);
}
#else
void announceFixedWindow(QWidget&) {}
#endif
