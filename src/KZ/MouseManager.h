#ifndef KZ_MOUSEMANAGER_H
#define KZ_MOUSEMANAGER_H

#include <SDL/SDL.h>

// The mouse as seen by the current cycle of the main loop: pointer position
// and, for the left and right buttons, press and release edges, the held level
// and double clicks. Fed by the event pump; entities query it in step().
// A class of static members only; never instantiated.
class KZ_MouseManager {
public:
    static int x;       // pointer x in window pixels, from the last mouse event
    static int y;       // pointer y in window pixels, from the last mouse event
    static int buttons; // number of tracked buttons (2)
    static int
        doubleClickTimeframe;     // a press within this many ms of the last one is a double click
    static int LEFT_BUTTON;       // index of the left button (0)
    static int RIGHT_BUTTON;      // index of the right button (1)
    static int currentStatus[2];  // per button this cycle: 0 up, 1 down, -1 released this cycle
    static int previousStatus[2]; // currentStatus at the end of the previous cycle
    static int lastClick[2];      // time of the button's last press (KZ_TimeManager ms)
    static int doubleClick[2];    // 1 when a press this cycle was a double click

    // Starts a cycle: remembers the statuses, turns releases into "up", clears double clicks.
    static void newCycle();
    // Takes one mouse motion or button event.
    static void handle(SDL_Event* event);

    // The button went down this cycle (also when it came up again in the same cycle).
    static bool clickWasPressed(int button);
    // The button is held down.
    static bool clickIsPressed(int button);
    // The button came up this cycle.
    static bool clickIsReleased(int button);
    // A press of the button this cycle was a double click.
    static bool clickDoubleClick(int button);
    // Pointer x in window pixels; -1 before any mouse event.
    static int getX();
    // Pointer y in window pixels; -1 before any mouse event.
    static int getY();
};

#endif
