#ifndef XARNCLICKABLE_H
#define XARNCLICKABLE_H

#include "KZ/Clickable.h"
#include "KZ/Invader2D.h"
#include "KZ/Subject.h"

class InteractiveScenePlanet;
class KZ_Observer;

// Base of every entity the player can click in an interactive scene. A click
// is not delivered at once: while stepping, the clickable reports itself to its
// scene, which afterwards notifies only the nearest reporter's observers. The
// area is the bounding box a subclass hands to setBB().
class XarnClickable : public KZ_Invader2D, public KZ_Subject, public KZ_Clickable {
public:
    InteractiveScenePlanet* scene; // the scene clicks are reported to; not owned; may be null

    // No scene and no observer: never reports a click.
    XarnClickable();
    // Reports to `scene`; `observer` (if not null) is told when the scene picks this clickable.
    XarnClickable(KZ_Observer* observer, InteractiveScenePlanet* scene);
    ~XarnClickable() override;

    // Hit-tests the pointer against the area; may report a click.
    void step() override;

    // Reports this clickable to its scene (if any); notifies nobody itself.
    void clicked() override;
};

#endif
