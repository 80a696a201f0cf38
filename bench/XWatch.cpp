#include "bench/XWatch.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xdamage.h>
#include <poll.h>

namespace bench {

namespace {

// Windows come and go while a program starts (tool tips, helper windows); a request about one
// that has just gone is no reason to stop watching.
int IgnoreErrors(Display*, XErrorEvent*) {
    return 0;
}

}  // namespace

XWatch::~XWatch() {
    if (display) XCloseDisplay(display);
}

bool XWatch::Open(std::string* error) {
    display = XOpenDisplay(nullptr);
    if (!display) {
        *error = "cannot open the X display (is DISPLAY set?)";
        return false;
    }
    if (!XDamageQueryExtension(display, &damageEvent, &damageError)) {
        *error = "the X server has no DAMAGE extension";
        return false;
    }
    XSetErrorHandler(IgnoreErrors);
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);
    return true;
}

void XWatch::Reset() {
    XSync(display, False);
    for (auto& [window, state] : windows) {
        if (state.damage) XDamageDestroy(display, state.damage);
    }
    windows.clear();
    XEvent event;
    while (XPending(display)) XNextEvent(display, &event);
}

bool XWatch::NextEvent(Clock::time_point deadline, XEvent* event, Clock::time_point* at) {
    while (!XPending(display)) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) return false;
        pollfd fd{ConnectionNumber(display), POLLIN, 0};
        poll(&fd, 1, static_cast<int>(left.count()) + 1);
    }
    XNextEvent(display, event);
    *at = Clock::now();
    return true;
}

std::string XWatch::NameOf(Window window) {
    static const Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
    static const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::string name;
    if (XGetWindowProperty(display, window, netName, 0, 1024, False, utf8, &type, &format, &count,
                           &after, &data) == Success &&
        data) {
        name.assign(reinterpret_cast<char*>(data), count);
        XFree(data);
    }
    if (name.empty()) {
        char* legacy = nullptr;
        if (XFetchName(display, window, &legacy) && legacy) {
            name = legacy;
            XFree(legacy);
        }
    }
    return name;
}

bool XWatch::WaitForWindow(const std::regex& name, Clock::time_point deadline, Sighting* out) {
    Window target = 0;
    XEvent event;
    Clock::time_point at;
    while (NextEvent(deadline, &event, &at)) {
        Window changed = 0;
        if (event.type == CreateNotify &&
            event.xcreatewindow.parent == DefaultRootWindow(display)) {
            const Window w = event.xcreatewindow.window;
            windows[w].damage = XDamageCreate(display, w, XDamageReportNonEmpty);
            XSelectInput(display, w, PropertyChangeMask);
        } else if (event.type == MapNotify) {
            changed = event.xmap.window;
            windows[changed].mapped = at;
        } else if (event.type == PropertyNotify) {
            changed = event.xproperty.window;
        } else if (event.type == damageEvent + XDamageNotify) {
            const auto* damage = reinterpret_cast<XDamageNotifyEvent*>(&event);
            WindowState& state = windows[damage->drawable];
            // Drawing before the window is on the screen shows nothing yet.
            if (state.mapped && !state.drawn) state.drawn = at;
            XDamageSubtract(display, damage->damage, None, None);
        }
        if (!target && changed && windows[changed].mapped &&
            std::regex_search(NameOf(changed), name)) {
            target = changed;
        }
        if (target && windows[target].drawn) {
            out->window = target;
            out->mapped = *windows[target].mapped;
            out->drawn = *windows[target].drawn;
            return true;
        }
    }
    return false;
}

void XWatch::RequestClose(Window window) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
}

}  // namespace bench
