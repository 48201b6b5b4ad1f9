// The window and OpenGL set-up, clearing, the clock and the trace.
#include "KZ/Display.h"
#include "KZ/Debug.h"
#include "TestSupport.h"

#include <GL/gl.h>
#include <SDL/SDL.h>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

TEST(Display, InitOpensTheDemoWindowAndReportsSuccess) {
    EXPECT_EQ(0, KZ_Display::SCREEN_WIDTH); // nothing is set before init()
    EXPECT_EQ(0, KZ_Display::FRAMES_PER_SECOND);
    EXPECT_EQ(nullptr, KZ_Display::getGraphics());

    testsupport::captureStdout();
    KZ_Display::init();
    EXPECT_EQ("Graphic initialization successful \n", testsupport::capturedStdout());

    EXPECT_EQ(640, KZ_Display::SCREEN_WIDTH);
    EXPECT_EQ(480, KZ_Display::SCREEN_HEIGHT);
    EXPECT_EQ(32, KZ_Display::SCREEN_BPP);
    EXPECT_EQ(12, KZ_Display::FRAMES_PER_SECOND);
    EXPECT_EQ(nullptr, KZ_Display::getGraphics());

    SDL_Surface* screen = SDL_GetVideoSurface();
    ASSERT_NE(nullptr, screen);
    EXPECT_EQ(640, screen->w);
    EXPECT_EQ(480, screen->h);
    EXPECT_TRUE(screen->flags & SDL_OPENGL);
    EXPECT_FALSE(screen->flags & SDL_FULLSCREEN);

    char* title = nullptr;
    char* icon = nullptr;
    SDL_WM_GetCaption(&title, &icon);
    ASSERT_NE(nullptr, title);
    EXPECT_STREQ("Demo", title);

    int doubleBuffer = 0;
    SDL_GL_GetAttribute(SDL_GL_DOUBLEBUFFER, &doubleBuffer);
    EXPECT_EQ(1, doubleBuffer);
}

TEST(Display, InitSetsTheFixedOpenGLState) {
    testsupport::openWindow();
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));

    GLint value = 0;
    glGetIntegerv(GL_BLEND_SRC, &value);
    EXPECT_EQ(GL_SRC_ALPHA, value);
    glGetIntegerv(GL_BLEND_DST, &value);
    EXPECT_EQ(GL_ONE_MINUS_SRC_ALPHA, value);
    glGetIntegerv(GL_DEPTH_FUNC, &value);
    EXPECT_EQ(GL_LEQUAL, value);
    glGetIntegerv(GL_PERSPECTIVE_CORRECTION_HINT, &value);
    EXPECT_EQ(GL_NICEST, value);
    glGetIntegerv(GL_MATRIX_MODE, &value);
    EXPECT_EQ(GL_MODELVIEW, value);

    GLfloat clear[4] = {1, 1, 1, 1};
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    for (GLfloat channel : clear) {
        EXPECT_EQ(0.0f, channel);
    }
    GLfloat depth = 0;
    glGetFloatv(GL_DEPTH_CLEAR_VALUE, &depth);
    EXPECT_EQ(1.0f, depth);

    // glOrtho(0, 640, 0, 480, -10000, 10000), column-major.
    GLdouble p[16];
    glGetDoublev(GL_PROJECTION_MATRIX, p);
    EXPECT_NEAR(2.0 / 640, p[0], 1e-9); // the driver keeps floats
    EXPECT_NEAR(2.0 / 480, p[5], 1e-9);
    EXPECT_NEAR(-2.0 / 20000, p[10], 1e-9);
    EXPECT_DOUBLE_EQ(-1.0, p[12]);
    EXPECT_DOUBLE_EQ(-1.0, p[13]);
    EXPECT_DOUBLE_EQ(0.0, p[14]);
    EXPECT_DOUBLE_EQ(1.0, p[15]);
}

TEST(Display, CleanScreenClearsToBlackAndResetsTheModelView) {
    testsupport::openWindow();
    glDisable(GL_TEXTURE_2D);
    glColor4f(1, 1, 1, 1);
    glTranslatef(100, 100, 0);
    glBegin(GL_QUADS); // the window's lower left corner, under the translation
    glVertex3f(-100, -100, 0);
    glVertex3f(0, -100, 0);
    glVertex3f(0, 0, 0);
    glVertex3f(-100, 0, 0);
    glEnd();
    glEnable(GL_TEXTURE_2D);
    ASSERT_EQ(0xFFFFFFu, testsupport::readPixel(10, 470));

    KZ_Display::cleanScreen();
    EXPECT_EQ(0x000000u, testsupport::readPixel(10, 470));
    GLdouble m[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, m);
    for (int i = 0; i < 16; i++) {
        EXPECT_DOUBLE_EQ(i % 5 == 0 ? 1.0 : 0.0, m[i]) << i;
    }
}

TEST(Display, InitWithoutADisplayEndsTheProgramWithTheScreenSettingsSet) {
    // The settings are the first thing init() sets, whatever fails later; the
    // check runs on the way out of the orderly exit.
    EXPECT_EXIT(
        {
            unsetenv("DISPLAY");
            unsetenv("WAYLAND_DISPLAY");
            setenv("SDL_VIDEODRIVER", "x11", 1);
            std::atexit([] {
                bool set = KZ_Display::SCREEN_WIDTH == 640 && KZ_Display::SCREEN_HEIGHT == 480 &&
                           KZ_Display::SCREEN_BPP == 32 && KZ_Display::FRAMES_PER_SECOND == 12;
                std::fflush(stdout);
                std::_Exit(set ? 3 : 4);
            });
            KZ_Display::init();
        },
        ::testing::ExitedWithCode(3), "");
}

// The trace: exact bytes, nesting and the master switch.
class DebugTrace : public ::testing::Test {
protected:
    void SetUp() override {
        KZ_Debug::indentation = 1;
        KZ_Debug::debug = true;
    }
};

TEST_F(DebugTrace, StartLogEndAtTheTopLevel) {
    testsupport::captureStdout();
    KZ_Debug::start("A");
    KZ_Debug::log("B");
    KZ_Debug::end("A");
    EXPECT_EQ("    <  A >\n"
              "        B\n"
              "    </ A >\n",
              testsupport::capturedStdout());
    EXPECT_EQ(1, KZ_Debug::indentation);
}

TEST_F(DebugTrace, NestedSectionsIndentFourBlanksPerLevel) {
    testsupport::captureStdout();
    KZ_Debug::start("KZ_2DPlanet destroyObjects");
    KZ_Debug::start("inner");
    KZ_Debug::log("found");
    KZ_Debug::end("inner");
    KZ_Debug::log("after");
    KZ_Debug::end("KZ_2DPlanet destroyObjects");
    EXPECT_EQ("    <  KZ_2DPlanet destroyObjects >\n"
              "        <  inner >\n"
              "            found\n"
              "        </ inner >\n"
              "        after\n"
              "    </ KZ_2DPlanet destroyObjects >\n",
              testsupport::capturedStdout());
    EXPECT_EQ(1, KZ_Debug::indentation);
}

TEST_F(DebugTrace, MasterSwitchOffWritesNothingAndKeepsTheLevel) {
    KZ_Debug::debug = false;
    testsupport::captureStdout();
    KZ_Debug::start("A");
    KZ_Debug::log("B");
    KZ_Debug::start("C");
    EXPECT_EQ("", testsupport::capturedStdout());
    EXPECT_EQ(1, KZ_Debug::indentation);
}

} // namespace
