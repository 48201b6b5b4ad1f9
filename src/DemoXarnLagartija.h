#ifndef DEMOXARNLAGARTIJA_H
#define DEMOXARNLAGARTIJA_H

#include "XarnSimpleInvestigableObject.h"

#include <string>

class InteractiveScenePlanet;

// A lizard sunning itself at the scene. Offers every verb.
class DemoXarnLagartija : public XarnSimpleInvestigableObject {
public:
    // "Lagartija" at (20, 290).
    DemoXarnLagartija(InteractiveScenePlanet* scene);

    // Loads "res/lagartija.png" unless a picture is already loaded.
    void loadGraphics() override;
    // Queues the object's lines for `verb` on the scene's script.
    void action(std::string verb) override;
};

#endif
