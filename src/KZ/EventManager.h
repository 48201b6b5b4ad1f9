#ifndef KZ_EVENTMANAGER_H
#define KZ_EVENTMANAGER_H

#include <SDL/SDL.h>

class KZ_Space;

// The event pump run once per frame: mouse events go to KZ_MouseManager, the
// window's quit event stops the application, everything else is ignored.
// A class of static members only; never instantiated.
class KZ_EventManager {
public:
    static KZ_Space* space; // the application to stop on a quit event
    static SDL_Event event; // the one record every polled event is read into

    // Remembers the application to stop on a quit event, and from then on takes
    // mouse and quit events from SDL as they arrive, so none is lost when more
    // arrive in one frame than SDL's queue holds (up to a few thousand).
    static void init(KZ_Space* space);
    // Starts a new mouse cycle, then handles every pending event, in the order
    // they arrived; never waits.
    static void poll();
    // How many mouse events from the window system wait for the next poll().
    // At most a few thousand are kept, the newest; a quit request is never lost.
    static int waiting();
};

#endif
