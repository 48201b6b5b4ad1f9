#ifndef XARNSIMPLEINVESTIGABLEOBJECT_H
#define XARNSIMPLEINVESTIGABLEOBJECT_H

#include "XarnInvestigableObject.h"

#include <string>

class KZ_BoundingBox;
class KZ_Sprite;

// An investigable object shown as one picture, which is also its clickable
// area. Concrete objects override loadGraphics() to choose their picture and
// action() to answer verbs.
class XarnSimpleInvestigableObject : public XarnInvestigableObject {
public:
    KZ_Sprite* sprite; // the picture; owned, null while unloaded

    // An object of `scene` with an area of its own, fitted to the picture each step.
    XarnSimpleInvestigableObject(InteractiveScenePlanet* scene);
    // Deletes the area (and the picture, if still loaded).
    ~XarnSimpleInvestigableObject() override;

    // Fits the area to the picture at (x, y), then does the investigable object's step.
    void step() override;
    // Draws the picture at (x, y, z).
    void draw(KZ_Graphics* graphics) override;
    // Loads "res/body1.png" unless a picture is already loaded.
    void loadGraphics() override;
    // Releases the picture.
    void unloadGraphics() override;

    // Writes the verb and " action \n" to standard output.
    void action(std::string verb) override;

private:
    // The area made by the constructor, owned. Kept apart from getBB(): a
    // subclass may point the clickable at an area of its own instead, which
    // is not this object's to delete.
    KZ_BoundingBox* ownBox;
};

#endif
