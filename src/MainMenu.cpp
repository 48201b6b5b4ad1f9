#include "MainMenu.h"

#include "BackGroundImage.h"
#include "XarnMainMenu.h"

MainMenu::MainMenu() {
    BackGroundImage* background = new BackGroundImage("res/main.png");
    // The controller adds its button while it is being built, so the button
    // is the scene's first entity.
    XarnMainMenu* controller = new XarnMainMenu(this);
    add(background);
    add(controller);
}
