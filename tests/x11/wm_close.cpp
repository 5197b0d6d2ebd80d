// Asks a window to close the way a window manager's close box does: a WM_DELETE_WINDOW
// message. Xvfb runs no window manager, so the tests send it themselves.
// Usage: wm_close <window id>
#include <X11/Xlib.h>

#include <cstdlib>

int main(int argc, char **argv)
{
    Display *display = XOpenDisplay(nullptr);
    if (!display || argc != 2)
        return 2;
    const Window window = std::strtoul(argv[1], nullptr, 0);
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = long(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XCloseDisplay(display);   // flushes
    return 0;
}
