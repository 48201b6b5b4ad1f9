#include "SalaDelFaro.h"

#include "BackGroundImage.h"
#include "Documento.h"
#include "Lampara.h"
#include "SCommandEnd.h"
#include "XarnMenuOpciones.h"
#include "XarnTopico.h"

// Topics and documents read the mouse themselves and know no scene. Ours join
// the room's click routing (joinScene() below): a click that opens the lamp's
// menu or picks one of its verbs is not also a click on the topic under it,
// and none of them reacts while a line is playing.

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
        sala->say("El viento rompió una ventana");
        sala->say("y la lluvia ahogó la llama");
    }
};

// Going home: a last line, then the game ends by itself.
class TemaVolver : public XarnTopico {
public:
    InteractiveScenePlanet* sala;

    TemaVolver(InteractiveScenePlanet* sala)
        : XarnTopico("Volver a casa")
        , sala(sala) {
        setX(420);
        setY(350);
    }

    void clicked() override {
        sala->say("Bajas la escalera; el faro vela por los barcos");
        sala->commandStack.add(new SCommandEnd());
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

    void clicked() override { sala->say("«La lámpara se enciende girando la manivela»"); }
};

SalaDelFaro::SalaDelFaro() {
    add(new BackGroundImage("res/sala.png"));
    add(new Lampara(this));
    Diario* diario = new Diario(this);
    TemaTormenta* tormenta = new TemaTormenta(this);
    TemaVolver* volver = new TemaVolver(this);
    diario->joinScene(this);
    tormenta->joinScene(this);
    volver->joinScene(this);
    add(diario);
    add(tormenta);
    add(volver);
    // The verb menu opens over the topics: a backdrop keeps its words readable.
    optionsMenu->setBackdrop("res/menu.png");
    // Played as soon as the scene is first shown; then the player is free.
    say("La sala huele a aceite y a sal");
}
