// A minimal X clipboard manager, as desktops run one: owns CLIPBOARD_MANAGER and, when a program
// that is ending asks it to SAVE_TARGETS, fetches every target of the clipboard from it, then
// answers. Used by bench/exit_time.sh to measure the end of the program on such a desktop.
// A slow manager answers DELAY_MS (its one argument, default 0) late.
// Build: cc -O2 -o clipboard_manager clipboard_manager.c -lX11
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

static Display* display;
static Window self;

// Converts CLIPBOARD to `target` into our window and waits for the answer; returns the property's
// data (to be freed) and its item count.
static unsigned char* Fetch(Atom target, Atom into, unsigned long* items) {
    XConvertSelection(display, XInternAtom(display, "CLIPBOARD", False), target, into, self, CurrentTime);
    XEvent event;
    do {
        XNextEvent(display, &event);
    } while (event.type != SelectionNotify);
    *items = 0;
    if (event.xselection.property == None) {
        return NULL;
    }
    Atom type;
    int format;
    unsigned long after;
    unsigned char* data = NULL;
    XGetWindowProperty(display, self, into, 0, 1 << 20, True, AnyPropertyType, &type, &format, items, &after,
                       &data);
    return data;
}

int main(int argc, char** argv) {
    const long delayMs = argc > 1 ? atol(argv[1]) : 0;
    display = XOpenDisplay(NULL);
    if (display == NULL) {
        return 1;
    }
    self = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
    const Atom manager = XInternAtom(display, "CLIPBOARD_MANAGER", False);
    const Atom saveTargets = XInternAtom(display, "SAVE_TARGETS", False);
    const Atom targets = XInternAtom(display, "TARGETS", False);
    const Atom into = XInternAtom(display, "ZVM_SAVED", False);
    XSetSelectionOwner(display, manager, self, CurrentTime);
    printf("ready\n");
    fflush(stdout);
    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type != SelectionRequest) {
            continue;
        }
        XSelectionRequestEvent request = event.xselectionrequest;
        XSelectionEvent reply = {SelectionNotify, 0, True, display, request.requestor, request.selection,
                                 request.target, None, request.time};
        if (request.selection == manager && request.target == saveTargets) {
            unsigned long count = 0;
            Atom* list = (Atom*)Fetch(targets, into, &count);
            for (unsigned long i = 0; list != NULL && i < count; ++i) {
                unsigned long items = 0;
                XFree(Fetch(list[i], into, &items));
            }
            if (list != NULL) {
                XFree(list);
            }
            reply.property = request.property;
            usleep((useconds_t)(delayMs * 1000));
        }
        XSendEvent(display, request.requestor, False, NoEventMask, (XEvent*)&reply);
        XFlush(display);
    }
}
