#ifndef MAINMENU_H
#define MAINMENU_H

#include "InteractiveScenePlanet.h"

// The first scene the player sees: the title picture and one button,
// "Empezar", which replaces this scene with the investigation scene.
class MainMenu : public InteractiveScenePlanet {
public:
    // Adds, in this order, the button (through its controller), the
    // background and the controller.
    MainMenu();
};

#endif
