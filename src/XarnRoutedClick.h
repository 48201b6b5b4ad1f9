#ifndef XARNROUTEDCLICK_H
#define XARNROUTEDCLICK_H

#include "KZ/Observer.h"
#include "XarnClickable.h"

#include <functional>

class InteractiveScenePlanet;

// Lets an entity that reads the mouse itself (a topic, a document) take part
// in an interactive scene's click routing: instead of reacting at once, the
// entity reports a press here with its depth; the scene then picks the
// nearest of everything clicked in that frame, as it does for objects and
// verb buttons, and the reaction runs only if this one is picked and the
// scene is in interactive mode. Owned by the entity; never added to a planet.
class XarnRoutedClick : public XarnClickable, public KZ_Observer {
public:
    std::function<void()> reaction; // the entity's own reaction to a click

    // Reports to `scene`, never null; runs `reaction` when picked outside a script.
    XarnRoutedClick(InteractiveScenePlanet* scene, std::function<void()> reaction);

    // The entity was pressed in this frame at depth `z`: reports it to the scene.
    void report(int z);
    // Picked by the scene: reacts, unless a script is playing.
    void notify(KZ_Subject* subject, void* data) override;
};

#endif
