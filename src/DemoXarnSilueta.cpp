#include "DemoXarnSilueta.h"

#include "InteractiveScenePlanet.h"
#include "KZ/Sprite.h"
#include "SCommandSay.h"

// Queues one line, said by nobody in particular, on the scene's script.
static void say(InteractiveScenePlanet* scene, const char* line) {
    scene->commandStack.add(new SCommandSay(scene->dialogBox, line, nullptr));
}

DemoXarnSilueta::DemoXarnSilueta(InteractiveScenePlanet* scene)
    : XarnSimpleInvestigableObject(scene) {
    name = "Silueta";
    setX(380);
    setY(320);
    hablar->enabled = false;
}

void DemoXarnSilueta::loadGraphics() {
    if (sprite == nullptr) {
        sprite = new KZ_Sprite("res/silueta.png");
    }
}

void DemoXarnSilueta::action(std::string verb) {
    // "Hablar" is never offered, so it has no lines.
    if (verb == examinar->text) {
        say(scene, "Aca yacia el cuerpo de la victima");
        say(scene, "Hay manchas de sangre verde por todas partes");
    }
    if (verb == recoger->text) {
        say(scene, "Como se supone que recoga algo que esta pintado");
    }
    if (verb == mover->text) {
        say(scene, "Sera mejor que no toque nada");
    }
}
