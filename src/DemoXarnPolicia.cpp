#include "DemoXarnPolicia.h"

#include "InteractiveScenePlanet.h"
#include "KZ/Sprite.h"
#include "SCommandSay.h"

// Queues one line, said by nobody in particular, on the scene's script.
static void say(InteractiveScenePlanet* scene, const char* line) {
    scene->commandStack.add(new SCommandSay(scene->dialogBox, line, nullptr));
}

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
        say(scene, "Quizas luego");
    }
    if (verb == examinar->text) {
        say(scene, "Es un policia comun y corriente, un poco desaliñado quizas");
    }
}
