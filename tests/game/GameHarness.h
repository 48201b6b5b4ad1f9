#ifndef GAMEHARNESS_H
#define GAMEHARNESS_H

#include "InteractiveScenePlanet.h"
#include "KZ/BoundingBox.h"
#include "KZ/Display.h"
#include "KZ/EventManager.h"
#include "KZ/Observer.h"
#include "KZ/Sprite.h"
#include "SCommandSay.h"
#include "TestSupport.h"
#include "XarnClickable.h"
#include "XarnSimpleInvestigableObject.h"

#include <GL/gl.h>
#include <string>
#include <vector>

// Drives interactive scenes as the main loop does, one real frame at a time.
namespace gameharness {

// One turn of the main loop: the engine's event pump reads what the test
// pushed, the screen is cleared and the scene runs its cycle. The picture stays
// in the back buffer for reading.
inline void frame(InteractiveScenePlanet& scene, int count = 1) {
    for (int i = 0; i < count; i++) {
        KZ_EventManager::poll();
        KZ_Display::cleanScreen();
        scene.display(nullptr);
    }
}

// The pointer moves to (x, y); the next frame sees it there.
inline void point(int x, int y) {
    testsupport::pushMotion(x, y);
}

// A left click at (x, y), press and release, seen by the next frame.
inline void click(int x, int y) {
    testsupport::pushMotion(x, y);
    testsupport::pushLeftPress(x, y);
    testsupport::pushLeftRelease(x, y);
}

// How many pixels of the rectangle (origin top-left) are pure white, the colour of text.
inline int whitePixels(int x, int y, int width, int height) {
    std::vector<unsigned char> rgb(size_t(width) * size_t(height) * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, KZ_Display::SCREEN_HEIGHT - y - height, width, height, GL_RGB, GL_UNSIGNED_BYTE,
                 rgb.data());
    int count = 0;
    for (size_t i = 0; i < rgb.size(); i += 3) {
        count += rgb[i] == 255 && rgb[i + 1] == 255 && rgb[i + 2] == 255;
    }
    return count;
}

// An object with a picture of its own that records the verbs it is handed and
// answers each with the lines of `reply`.
class Thing : public XarnSimpleInvestigableObject {
public:
    std::string picture;
    std::vector<std::string> verbs;
    std::vector<std::string> reply;

    Thing(InteractiveScenePlanet* scene, std::string thingName, int left, int top,
          std::string file = "tests/fixtures/game_thing_64x64.png")
        : XarnSimpleInvestigableObject(scene)
        , picture(file) {
        name = thingName;
        x = left;
        y = top;
    }
    void loadGraphics() override {
        if (sprite == nullptr) {
            sprite = new KZ_Sprite(picture);
        }
    }
    void action(std::string verb) override {
        verbs.push_back(verb);
        for (const std::string& line : reply) {
            scene->commandStack.add(new SCommandSay(scene->dialogBox, line, nullptr));
        }
    }
};

// Remembers which subjects notified it.
class Listener : public KZ_Observer {
public:
    std::vector<KZ_Subject*> heard;
    void notify(KZ_Subject* subject, void*) override { heard.push_back(subject); }
};

// A bare clickable over a fixed rectangle, at depth `depth`.
class Probe : public XarnClickable {
public:
    KZ_BoundingBox box;
    Probe(KZ_Observer* observer, InteractiveScenePlanet* scene, KZ_BoundingBox area, int depth)
        : XarnClickable(observer, scene)
        , box(area) {
        z = depth;
        setBB(&box);
    }
};

} // namespace gameharness

#endif
