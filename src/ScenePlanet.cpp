#include "ScenePlanet.h"

#include "Dialogbox.h"
#include "KZ/Display.h"
#include "SCommandSay.h"

#include <GL/glu.h>

ScenePlanet::ScenePlanet()
    : dialogBox(nullptr) {
    dialogBox = new Dialogbox("res/Vera.ttf");
    add(dialogBox);
}

ScenePlanet::~ScenePlanet() {
    // The planet deletes no entity when it dies, but the scene owns its box.
    delete dialogBox;
}

void ScenePlanet::updateObjects() {
    // The script runs before the entities step, so the box takes a press after
    // the line's command has been polled in this cycle.
    commandStack.execute();
    KZ_2DPlanet::updateObjects();
}

void ScenePlanet::drawObjects(KZ_Graphics* graphics) {
    // Looking along +z with y pointing down the window: entity coordinates are
    // window pixels from the top-left, and lower z is nearer.
    double h = KZ_Display::SCREEN_HEIGHT;
    gluLookAt(0, h, -1, 0, h, 0, 0, -1, 0);
    KZ_2DPlanet::drawObjects(graphics);
}

void ScenePlanet::say(const std::string& line, CharacterSprite* speaker) {
    commandStack.add(new SCommandSay(dialogBox, line, speaker));
}
