#ifndef DEMOXARNSILUETA_H
#define DEMOXARNSILUETA_H

#include "XarnSimpleInvestigableObject.h"

#include <string>

class InteractiveScenePlanet;

// The chalk outline where the body lay. It cannot be talked to.
class DemoXarnSilueta : public XarnSimpleInvestigableObject {
public:
    // "Silueta" at (380, 320), without "Hablar".
    DemoXarnSilueta(InteractiveScenePlanet* scene);

    // Loads "res/silueta.png" unless a picture is already loaded.
    void loadGraphics() override;
    // Queues the object's lines for `verb` on the scene's script.
    void action(std::string verb) override;
};

#endif
