#ifndef DEMOXARNPOLICIA_H
#define DEMOXARNPOLICIA_H

#include "XarnSimpleInvestigableObject.h"

#include <string>

class InteractiveScenePlanet;

// A policeman guarding the scene. He can only be talked to and examined.
class DemoXarnPolicia : public XarnSimpleInvestigableObject {
public:
    // "Policia" at (400, 80), without "Recoger" and "Mover".
    DemoXarnPolicia(InteractiveScenePlanet* scene);

    // Loads "res/policia.png" unless a picture is already loaded.
    void loadGraphics() override;
    // Queues the object's lines for `verb` on the scene's script.
    void action(std::string verb) override;
};

#endif
