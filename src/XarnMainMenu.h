#ifndef XARNMAINMENU_H
#define XARNMAINMENU_H

#include "KZ/Invader2D.h"
#include "KZ/Observer.h"

class InteractiveScenePlanet;
class KZ_Subject;
class XarnTextClickable;

// The main menu's controller: an invisible entity that creates the "Empezar"
// button and, when it is clicked, starts the investigation.
class XarnMainMenu : public KZ_Invader2D, public KZ_Observer {
public:
    XarnTextClickable* button;      // "Empezar" at (420, 390); owned by the scene once added
    InteractiveScenePlanet* planet; // the menu scene; kept, not used after construction

    // Creates the button, places it and adds it to `planet`.
    XarnMainMenu(InteractiveScenePlanet* planet);

    // The button was clicked: replaces the top of the display stack with a new
    // investigation scene. Notifications from any other subject are ignored.
    void notify(KZ_Subject* subject, void* data) override;
};

#endif
