#include "DemoXarnLagartija.h"

#include "InteractiveScenePlanet.h"
#include "KZ/Sprite.h"
#include "SCommandSay.h"

// Queues one line, said by nobody in particular, on the scene's script.
static void say(InteractiveScenePlanet* scene, const char* line) {
    scene->commandStack.add(new SCommandSay(scene->dialogBox, line, nullptr));
}

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
        say(scene, "No pienso hablarle a una lagartija, las lagartijas no hablan");
        say(scene, "¿O si?");
        say(scene, "Hola lagartija");
        say(scene, "...");
    }
    if (verb == examinar->text) {
        say(scene, "Parece una lagartija comun y corriente tomando sol");
    }
    if (verb == recoger->text) {
        say(scene, "Ouch!");
        say(scene, "Me mordio...");
    }
    if (verb == mover->text) {
        say(scene, "No creo que quiera moverse, parece comoda tomando sol");
    }
}
