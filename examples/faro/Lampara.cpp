#include "Lampara.h"

#include "InteractiveScenePlanet.h"
#include "KZ/Sprite.h"
#include "SCommandCall.h"

Lampara::Lampara(InteractiveScenePlanet* scene)
    : XarnSimpleInvestigableObject(scene)
    , encendida(false) {
    name = "Lámpara"; // shown at the bottom while the mouse is over it
    setX(256);
    setY(120);
}

void Lampara::loadGraphics() {
    if (sprite == nullptr) {
        sprite = new KZ_Sprite(encendida ? "res/lampara-encendida.png" : "res/lampara.png");
    }
}

void Lampara::action(std::string verb) {
    // The verbs arrive as the menu shows them; compare with the options' text.
    if (verb == hablar->text) {
        say("Vamos, vieja amiga, despierta");
    }
    if (verb == examinar->text) {
        say(encendida ? "Arde con una llama firme y clara" : "La mecha está apagada y fría");
    }
    if (verb == recoger->text) {
        say("Pesa demasiado para llevarla a ninguna parte");
    }
    if (verb == mover->text) {
        if (encendida) {
            say("Mejor no tocarla mientras gira");
            return;
        }
        say("Giras la manivela y la mecha prende");
        // The lamp lights between the two lines, in the script's turn, not
        // now while the menu is closing: a command that runs our function.
        scene->commandStack.add(new SCommandCall([this] {
            encendida = true;
            // A new picture for the new state: the scene is shown while its
            // script runs, so the graphics are loaded; swap them now.
            unloadGraphics();
            loadGraphics();
        }));
        say("¡La luz vuelve a barrer el mar!");
    }
}
