#include "DemoXarnLagartija.h"

#include "KZ/Sprite.h"

DemoXarnLagartija::DemoXarnLagartija(InteractiveScenePlanet* scene)
    : XarnSimpleInvestigableObject(scene) {
    name = "Lagartija";
    setX(20);
    setY(290);
}

void DemoXarnLagartija::loadGraphics() {
    if (sprite == nullptr) {
        sprite = new KZ_Sprite("res/lagartija.png");
    }
}

void DemoXarnLagartija::action(std::string verb) {
    if (verb == hablar->text) {
        say("No pienso hablarle a una lagartija, las lagartijas no hablan");
        say("¿O si?");
        say("Hola lagartija");
        say("...");
    }
    if (verb == examinar->text) {
        say("Parece una lagartija comun y corriente tomando sol");
    }
    if (verb == recoger->text) {
        say("Ouch!");
        say("Me mordio...");
    }
    if (verb == mover->text) {
        say("No creo que quiera moverse, parece comoda tomando sol");
    }
}
