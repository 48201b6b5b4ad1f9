#ifndef TESTSUPPORT_H
#define TESTSUPPORT_H

#include <string>

// Helpers shared by the windowed tests. Every test process is a real program:
// a real 640 x 480 OpenGL window on the X server the tests run under, real SDL
// events pushed into SDL's own queue and read back by the engine's event pump.
namespace testsupport {

// Opens the game window through KZ_Display::init() (once per process) and
// throws away whatever events the window system queued while it appeared, so a
// test starts from a quiet queue.
void openWindow();

// Drops every pending SDL event without handing it to the engine.
void drainEvents();

// Push events into SDL's queue, as the window system would deliver them.
// Coordinates are window pixels, origin top-left.
void pushMotion(int x, int y);
void pushButton(bool down, int sdlButton, int x, int y);
void pushLeftPress(int x, int y);
void pushLeftRelease(int x, int y);
void pushQuit();
void pushKey(bool down, int sdlKey);

// Starts a frame as the main loop does (clear, identity model-view) and sets
// the scenes' camera, under which entity coordinates are window pixels with
// the origin at the top-left and lower z is nearer.
void beginSceneFrame();

// The colour at window pixel (x, y), origin top-left, read from the frame
// being drawn (the back buffer), as 0xRRGGBB.
unsigned readPixel(int x, int y);

// Red, green and blue of a colour from readPixel().
int red(unsigned rgb);
int green(unsigned rgb);
int blue(unsigned rgb);

// Standard output capture around code that prints with printf or iostreams.
void captureStdout();
std::string capturedStdout();

} // namespace testsupport

#endif
