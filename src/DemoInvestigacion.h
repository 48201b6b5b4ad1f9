#ifndef DEMOINVESTIGACION_H
#define DEMOINVESTIGACION_H

#include "InteractiveScenePlanet.h"

class CharacterSprite;

// The demo's playable scene, the place where a body was found: a background,
// two officers' portraits and four objects to investigate. Building it queues
// the opening conversation, which plays as soon as the scene is shown.
class DemoInvestigacion : public InteractiveScenePlanet {
public:
    CharacterSprite* personaje1; // the officer who greets the player; owned by the scene
    CharacterSprite* personaje2; // the second officer; owned by the scene

    // Adds the background, the portraits and the objects, then queues the
    // opening conversation.
    DemoInvestigacion();
};

#endif
