#ifndef KZ_SPACE_H
#define KZ_SPACE_H

#include "KZ/DisplayStack.h"

// The abstract application object. Creating it brings up the window and the
// event pump; it holds the two flags the main loop obeys and the program's one
// display stack. Never deleted through this type.
class KZ_Space {
public:
    bool running; // the main loop goes on while this is true
    bool paused;  // while true no frames run (events are still polled)

    // The program's one display stack; its top is the scene being shown.
    static KZ_DisplayStack displayStack;

    // Opens the window (KZ_Display::init()), hands this application to the
    // event pump, then starts running and unpaused.
    KZ_Space();

    // Hook run when the application resumes.
    virtual void startApp() = 0;
    // Hook run when the application pauses.
    virtual void pauseApp() = 0;
    // Hook run when the application is asked to stop.
    virtual void destroyApp(bool unconditional) = 0;

    // Asks the application to stop for good: clears both flags, then destroyApp(true).
    void destroy();
    // Pauses the application, then pauseApp().
    void pause();
    // Resumes the application, then startApp().
    void unpause();

protected:
    ~KZ_Space() = default;
};

#endif
