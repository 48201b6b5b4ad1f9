#ifndef SCRIPTFIXTURE_H
#define SCRIPTFIXTURE_H

// Shared by the tests of the scripted scenes: a window whose res/ folder holds
// plain-colour pictures (so every drawn element can be told apart by colour),
// the frame as the main loop runs it, and read-back of whole window regions.

#include "KZ/Display.h"
#include "KZ/EventManager.h"
#include "KZ/Planet.h"
#include "TestSupport.h"

#include <GL/gl.h>
#include <gtest/gtest.h>
#include <unistd.h>
#include <vector>

namespace scripttest {

// Colours of the fixture pictures in tests/fixtures/script/res.
const unsigned BACKDROP = 0x0000FF;   // opaque.png: the dialog strip and the topic bar
const unsigned ICON = 0x00FF00;       // pressbutton.png
const unsigned FACING = 0xFF0000;     // portrait.png, left half
const unsigned BACK = 0xFFFF00;       // portrait.png, right half
const unsigned BACKGROUND = 0xFF00FF; // background.png
const unsigned DOCUMENT = 0x00FFFF;   // document.png
const unsigned CLEAR = 0x000000;      // the cleared screen

// Opens the window and makes "res/..." resolve to the fixture pictures (the
// font is the game's own). Every test runs in its own process.
inline void openFixtureWindow() {
    ASSERT_EQ(0, chdir("tests/fixtures/script"));
    testsupport::openWindow();
}

// One turn of the main loop for a scene that sets its own camera: events
// into the mouse state, a cleared screen, one cycle.
inline void frame(KZ_Planet* scene) {
    KZ_EventManager::poll();
    KZ_Display::cleanScreen();
    scene->display(nullptr);
}

// The same for a bare planet, which draws under the camera the scenes use.
inline void bareFrame(KZ_Planet* planet) {
    KZ_EventManager::poll();
    testsupport::beginSceneFrame();
    planet->display(nullptr);
}

// The window's pixels of the frame being drawn, read back once, as 0xRRGGBB
// with the origin at the top-left.
class Snapshot {
public:
    Snapshot()
        : width(KZ_Display::SCREEN_WIDTH)
        , height(KZ_Display::SCREEN_HEIGHT) {
        std::vector<unsigned char> rgba(static_cast<size_t>(width) * height * 4);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
        pixels.resize(static_cast<size_t>(width) * height);
        for (int row = 0; row < height; ++row) {
            for (int col = 0; col < width; ++col) {
                // OpenGL reads bottom row first.
                const unsigned char* p = &rgba[(static_cast<size_t>(row) * width + col) * 4];
                pixels[static_cast<size_t>(height - 1 - row) * width + col] =
                    (unsigned(p[0]) << 16) | (unsigned(p[1]) << 8) | unsigned(p[2]);
            }
        }
    }

    unsigned at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }

    // How many pixels of [x0, x1) x [y0, y1) have exactly `colour`.
    int count(int x0, int y0, int x1, int y1, unsigned colour) const {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                n += at(x, y) == colour ? 1 : 0;
        return n;
    }

    // How many pixels of [x0, x1) x [y0, y1) are near white (the glyphs).
    int glyphs(int x0, int y0, int x1, int y1) const {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) {
                unsigned c = at(x, y);
                n += (testsupport::red(c) > 200 && testsupport::green(c) > 200 &&
                      testsupport::blue(c) > 200)
                         ? 1
                         : 0;
            }
        return n;
    }

private:
    int width;
    int height;
    std::vector<unsigned> pixels;
};

} // namespace scripttest

#endif
