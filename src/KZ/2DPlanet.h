#ifndef KZ_2DPLANET_H
#define KZ_2DPLANET_H

#include "KZ/Planet.h"

#include <vector>

class KZ_Invader;

// A scene of 2D entities (handled as KZ_Invader2D). Creation and destruction
// are delayed to fixed points of the cycle, so entities may add and remove
// entities from any hook; live entities are kept in drawing order (back to
// front, non-increasing z) and hold their graphics exactly while the scene is
// shown. Owns every entity added to it and deletes it once it has been removed
// and destroyed; the planet's own destructor deletes none.
class KZ_2DPlanet : public KZ_Planet {
public:
    std::vector<KZ_Invader*> invaders;  // live entities, in drawing order
    std::vector<KZ_Invader*> toCreate;  // added, not yet created, in order of adding
    std::vector<KZ_Invader*> toDestroy; // removed, not yet destroyed, in order of removal

    // No entities.
    KZ_2DPlanet();
    // Releases the lists only; deletes no entity.
    ~KZ_2DPlanet();

    // Loads the graphics of every live entity (the scene is shown again).
    void showNotify() override;
    // Unloads the graphics of every live entity (the scene is no longer shown).
    void hideNotify() override;

    // Queues `invader` for creation in the next creation phase and sets its planet.
    void add(KZ_Invader* invader) override;
    // Queues `invader` for destruction in the next destruction phase.
    void remove(KZ_Invader* invader) override;

    // Does nothing.
    void preCycle() override;
    // Does nothing.
    void postCycle() override;
    // Does nothing; the scenes set their camera in drawObjects().
    void camera() override;
    // Places each waiting entity in drawing order, loads its graphics, calls created().
    void createObjects() override;
    // reserved() on every live entity, then step() on every live entity.
    void updateObjects() override;
    // draw(g) on every live entity, back to front.
    void drawObjects(KZ_Graphics* g) override;
    // For each removed entity: destroyed(), unloadGraphics(), out of the lists, deleted.
    void destroyObjects() override;
};

#endif
