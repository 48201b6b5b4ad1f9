#include "DemoXarnSilueta.h"

#include "KZ/Sprite.h"

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
        say("Aca yacia el cuerpo de la victima");
        say("Hay manchas de sangre verde por todas partes");
    }
    if (verb == recoger->text) {
        say("Como se supone que recoga algo que esta pintado");
    }
    if (verb == mover->text) {
        say("Sera mejor que no toque nada");
    }
}
