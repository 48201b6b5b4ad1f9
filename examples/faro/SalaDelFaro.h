#ifndef SALADELFARO_H
#define SALADELFARO_H

#include "InteractiveScenePlanet.h"

// The lamp room, where the player investigates: the lamp (an object with
// verbs), the keeper's diary (a document) and a topic to think about.
class SalaDelFaro : public InteractiveScenePlanet {
public:
    SalaDelFaro();
};

#endif
