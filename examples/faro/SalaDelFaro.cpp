#include "SalaDelFaro.h"

#include "BackGroundImage.h"
#include "Documento.h"
#include "Lampara.h"
#include "SCommandSay.h"
#include "XarnTopico.h"

// Topics and documents read the mouse themselves, whatever the scene is
// doing, and know no scene: ours keep theirs and stay quiet during a script.

// A line of text to click on: the storm of last night.
class TemaTormenta : public XarnTopico {
public:
    InteractiveScenePlanet* sala;

    TemaTormenta(InteractiveScenePlanet* sala)
        : XarnTopico("La tormenta de anoche")
        , sala(sala) {
        setX(420);
        setY(320);
    }

    void clicked() override {
        if (sala->mode != sala->MODE_INTERACTIVE) {
            return;
        }
        sala->commandStack.add(
            new SCommandSay(sala->dialogBox, "El viento rompió una ventana", nullptr));
        sala->commandStack.add(
            new SCommandSay(sala->dialogBox, "y la lluvia ahogó la llama", nullptr));
    }
};

// The keeper's diary, shown as 180 x 200: clicking it reads the last page.
class Diario : public Documento {
public:
    InteractiveScenePlanet* sala;

    Diario(InteractiveScenePlanet* sala)
        : Documento("res/diario.png")
        , sala(sala) {
        setX(40);
        setY(120);
    }

    void clicked() override {
        if (sala->mode != sala->MODE_INTERACTIVE) {
            return;
        }
        sala->commandStack.add(new SCommandSay(
            sala->dialogBox, "«La lámpara se enciende girando la manivela»", nullptr));
    }
};

SalaDelFaro::SalaDelFaro() {
    add(new BackGroundImage("res/sala.png"));
    add(new Lampara(this));
    add(new Diario(this));
    add(new TemaTormenta(this));

    // Played as soon as the scene is first shown; then the player is free.
    commandStack.add(new SCommandSay(dialogBox, "La sala huele a aceite y a sal", nullptr));
}
