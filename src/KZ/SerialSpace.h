#ifndef KZ_SERIALSPACE_H
#define KZ_SERIALSPACE_H

#include "KZ/Space.h"

class KZ_Displayable;

// The application object that runs everything on one thread: events, updates,
// drawing and sleeping, one frame after another at FRAMES_PER_SECOND.
class KZ_SerialSpace : public KZ_Space {
public:
    KZ_Displayable* previousDisplayable; // the top shown in the previous frame
    KZ_Displayable* currentDisplayable;  // the top read at the start of this frame

    // The application object, once one has been constructed; null before.
    static KZ_SerialSpace* instance;

    // Opens the window and the event pump (through KZ_Space) and registers
    // itself as the instance.
    KZ_SerialSpace();
    ~KZ_SerialSpace();

    // The application object, or null before one exists.
    static KZ_SerialSpace* getInstance();

    // Does nothing.
    void startApp() override;
    // Does nothing.
    void pauseApp() override;
    // Does nothing.
    void destroyApp(bool unconditional) override;

    // The main loop: one frame per turn until `running` turns false. Each frame
    // tells the old and new top of the display stack about a change, polls the
    // events, clears, runs the top's display(), swaps, and sleeps away the rest
    // of the frame (printing "CPU OV " and the overrun when there is none left).
    virtual void serialOrchestrator();
};

#endif
