#ifndef LAMPARA_H
#define LAMPARA_H

#include "XarnSimpleInvestigableObject.h"

#include <string>

class InteractiveScenePlanet;

// The lighthouse lamp: offers the four verbs and remembers whether it is lit,
// which changes both what it says and its picture.
class Lampara : public XarnSimpleInvestigableObject {
public:
    bool encendida; // lit

    Lampara(InteractiveScenePlanet* scene);

    // The picture for the lamp's state.
    void loadGraphics() override;
    // Answers the verb chosen in the menu by queuing lines.
    void action(std::string verb) override;
};

#endif
