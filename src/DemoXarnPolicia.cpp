#include "DemoXarnPolicia.h"

#include "KZ/Sprite.h"

DemoXarnPolicia::DemoXarnPolicia(InteractiveScenePlanet* scene)
    : XarnSimpleInvestigableObject(scene) {
    name = "Policia";
    setX(400);
    setY(80);
    recoger->enabled = false;
    mover->enabled = false;
}

void DemoXarnPolicia::loadGraphics() {
    if (sprite == nullptr) {
        sprite = new KZ_Sprite("res/policia.png");
    }
}

void DemoXarnPolicia::action(std::string verb) {
    // "Recoger" and "Mover" are never offered, so they have no lines.
    if (verb == hablar->text) {
        say("Quizas luego");
    }
    if (verb == examinar->text) {
        say("Es un policia comun y corriente, un poco desaliñado quizas");
    }
}
