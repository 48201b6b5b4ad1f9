#include "XarnMainMenu.h"

#include "DemoInvestigacion.h"
#include "InteractiveScenePlanet.h"
#include "KZ/Space.h"
#include "XarnTextClickable.h"

XarnMainMenu::XarnMainMenu(InteractiveScenePlanet* planet)
    : planet(planet) {
    button = new XarnTextClickable("Empezar", this, planet);
    button->setX(420);
    button->setY(390);
    planet->add(button);
}

void XarnMainMenu::notify(KZ_Subject* subject, void*) {
    if (subject != static_cast<KZ_Subject*>(button)) {
        return;
    }
    // The new scene takes the menu's place from the next frame on; nothing
    // deletes either of them.
    KZ_Space::displayStack.swap(new DemoInvestigacion());
}
