#ifndef SALADELFARO_H
#define SALADELFARO_H

#include "InteractiveScenePlanet.h"

// The lamp room, where the player investigates: the lamp (an object with
// verbs), the keeper's diary (a document), a topic to think about and a way
// home that ends the game.
class SalaDelFaro : public InteractiveScenePlanet {
public:
    SalaDelFaro();
};

#endif
