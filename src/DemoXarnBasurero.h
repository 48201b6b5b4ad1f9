#ifndef DEMOXARNBASURERO_H
#define DEMOXARNBASURERO_H

#include "XarnSimpleInvestigableObject.h"

#include <string>

class InteractiveScenePlanet;

// A rubbish bin with the murder weapon at the bottom. Remembers whether the
// knife has been taken out.
class DemoXarnBasurero : public XarnSimpleInvestigableObject {
public:
    bool cuchilloCogido; // the player has taken the knife out of the bin

    // "Basurero" at (280, 190), knife still inside.
    DemoXarnBasurero(InteractiveScenePlanet* scene);

    // Loads "res/basurero2.png" unless a picture is already loaded.
    void loadGraphics() override;
    // Queues the object's lines for `verb` on the scene's script.
    void action(std::string verb) override;
};

#endif
