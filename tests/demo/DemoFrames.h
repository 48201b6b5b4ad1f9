#ifndef DEMOFRAMES_H
#define DEMOFRAMES_H

#include "InteractiveScenePlanet.h"
#include "KZ/Display.h"
#include "KZ/EventManager.h"
#include "TestSupport.h"

// Plays the demo's scenes as the main loop does, one real frame at a time,
// with real SDL events read by the engine's event pump.
namespace demoframes {

// One turn of the main loop on `scene`: events, clear, the scene's cycle.
inline void frame(KZ_Displayable& scene, int count = 1) {
    for (int i = 0; i < count; i++) {
        KZ_EventManager::poll();
        KZ_Display::cleanScreen();
        scene.display(nullptr);
    }
}

// A left click (press and release) at (x, y), seen by the next frame.
inline void click(int x, int y) {
    testsupport::pushMotion(x, y);
    testsupport::pushLeftPress(x, y);
    testsupport::pushLeftRelease(x, y);
}

// A point over no object of the investigation scene, for clicks that only go on.
const int NEUTRAL_X = 620;
const int NEUTRAL_Y = 20;

// Clicks the line on show away and plays until the next line is set (the
// click's frame and the one after show no text) or the script is over.
inline void nextLine(InteractiveScenePlanet& scene) {
    click(NEUTRAL_X, NEUTRAL_Y);
    frame(scene, 3);
}

} // namespace demoframes

#endif
