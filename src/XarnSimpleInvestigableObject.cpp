#include "XarnSimpleInvestigableObject.h"

#include "KZ/BoundingBox.h"
#include "KZ/Debug.h"
#include "KZ/Sprite.h"

#include <cstdio>

XarnSimpleInvestigableObject::XarnSimpleInvestigableObject(InteractiveScenePlanet* scene)
    : XarnInvestigableObject(scene)
    , sprite(nullptr)
    , ownBox(new KZ_BoundingBox()) {
    setBB(ownBox);
}

XarnSimpleInvestigableObject::~XarnSimpleInvestigableObject() {
    // The planet unloads an entity before deleting it, but an object deleted
    // any other way would otherwise take its picture's texture with it unreleased.
    delete sprite;
    delete ownBox;
}

void XarnSimpleInvestigableObject::step() {
    if (debug) {
        KZ_Debug::start("XarnSimpleInvestigableObject step");
    }
    KZ_BoundingBox* box = getBB();
    box->x = x;
    box->y = y;
    box->width = sprite->getWidth();
    box->height = sprite->getHeight();
    XarnInvestigableObject::step();
    if (debug) {
        KZ_Debug::end("XarnSimpleInvestigableObject step");
    }
}

void XarnSimpleInvestigableObject::draw(KZ_Graphics*) {
    if (debug) {
        KZ_Debug::start("XarnSimpleInvestigableObject draw");
    }
    sprite->draw(x, y, z);
    if (debug) {
        KZ_Debug::end("XarnSimpleInvestigableObject draw");
    }
}

void XarnSimpleInvestigableObject::loadGraphics() {
    if (sprite == nullptr) {
        sprite = new KZ_Sprite("res/body1.png");
    }
}

void XarnSimpleInvestigableObject::unloadGraphics() {
    delete sprite;
    sprite = nullptr;
}

void XarnSimpleInvestigableObject::action(std::string verb) {
    std::fputs(verb.c_str(), stdout);
    std::fputs(" action \n", stdout);
}
