#ifndef KZ_PLANET_H
#define KZ_PLANET_H

#include "KZ/Displayable.h"

class KZ_Invader;

// A scene: a displayable that runs one cycle per frame over its entities while
// it is the top of the display stack. display() fixes the order of the phases;
// subclasses fill them in. Every hook does nothing here. Scenes are never
// deleted through this type.
class KZ_Planet : public KZ_Displayable {
public:
    bool debug; // trace switch for the cycle's KZ_Debug lines; starts true

    // Trace on.
    KZ_Planet();

    // One cycle: preCycle, createObjects, updateObjects, camera, drawObjects(g),
    // destroyObjects, postCycle.
    void display(KZ_Graphics* g) override;

    // Hands an entity to the planet, which owns it from then on.
    virtual void add(KZ_Invader* invader) = 0;
    // Asks for an entity to be destroyed and deleted at the end of a cycle.
    virtual void remove(KZ_Invader* invader) = 0;

    // First phase of the cycle.
    virtual void preCycle();
    // Last phase of the cycle.
    virtual void postCycle();
    // Sets up the view; runs after the update, just before drawing.
    virtual void camera();
    // Brings the entities added since the last cycle to life.
    virtual void createObjects();
    // Updates the live entities.
    virtual void updateObjects();
    // Draws the live entities.
    virtual void drawObjects(KZ_Graphics* g);
    // Destroys and deletes the entities removed since the last cycle.
    virtual void destroyObjects();

protected:
    ~KZ_Planet() = default;
};

#endif
