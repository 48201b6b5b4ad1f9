#ifndef XARNCLICKAREA_H
#define XARNCLICKAREA_H

#include "KZ/Invader2D.h"

class InteractiveScenePlanet;
class XarnRoutedClick;

// An entity that reads the mouse itself and reacts to a left-button press
// strictly inside its area (a topic, a document): at once, whatever the
// scene's mode, or, once it has joined its scene's click routing
// (joinScene()), only when the scene picks it. Subclasses test the mouse in
// step() and fill in clicked().
class XarnClickArea : public KZ_Invader2D {
public:
    XarnRoutedClick* route; // the scene's click routing once joined; owned, null before

    // At (0, 0), depth 0; not joined.
    XarnClickArea();
    // Releases the routing.
    ~XarnClickArea() override;

    // Owns its routing (and subclasses their graphics) through raw pointers:
    // a copy would release them twice.
    XarnClickArea(const XarnClickArea&) = delete;
    XarnClickArea& operator=(const XarnClickArea&) = delete;

    // The reaction to a click on the entity.
    virtual void clicked() = 0;

    // From now on a press on the entity goes through `scene`'s click routing:
    // the reaction comes only when nothing nearer (an object, a verb button)
    // was clicked in the same frame and no script is playing.
    void joinScene(InteractiveScenePlanet* scene);

protected:
    // The mouse is strictly inside the width x height area at (x, y), on all
    // four edges.
    bool mouseInside(int width, int height) const;
    // A left-button press on the area: reported to the scene's routing once
    // joined, otherwise reacted to now.
    void pressed();
    // What a click that counts does; clicked() unless a subclass says more.
    virtual void react();
};

#endif
