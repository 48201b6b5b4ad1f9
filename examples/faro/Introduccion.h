#ifndef INTRODUCCION_H
#define INTRODUCCION_H

#include "ScenePlanet.h"

#include "KZ/Displayable.h"
#include "SceneCommand.h"

// The opening: the keeper outside the lighthouse says three lines, one per
// click, then the lamp room takes this scene's place on the display stack.
class Introduccion : public ScenePlanet {
public:
    // Builds the scene and queues its script; `siguiente` is shown after it.
    Introduccion(KZ_Displayable* siguiente);
};

// A command of our own: puts another scene in place of the top of the display
// stack. The new scene is shown from the next frame on.
class CambiarEscena : public SceneCommand {
public:
    KZ_Displayable* siguiente; // not owned: scenes live for the whole game

    CambiarEscena(KZ_Displayable* siguiente);
    void execute() override;
};

#endif
