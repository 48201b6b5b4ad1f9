#include "KZ/Platform.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

// After windows.h: OpenGL's header builds on its macros.
#include "KZ/ResourceManager.h"

#include <GL/gl.h>
#include <SDL/SDL.h>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <io.h>

// A Windows program started from the desktop has no console. SDL 1.2's
// WinMain (SDLmain) therefore sends standard output and standard error to
// stdout.txt and stderr.txt beside the .exe (the working directory when the
// game is double-clicked) and deletes whichever stayed empty when the game
// ends. It opens them in text mode and fully buffered; the game wants them
// otherwise:
// - binary, so they hold the very bytes the game prints on every other
//   system (lines end in "\n" alone, which every editor on Windows 10 and
//   later shows as lines);
// - unbuffered, so a line is in the file as soon as it is printed, for
//   whoever watches the file and in case the game is killed (the C library
//   on Windows has no line buffering).

namespace {

void plain(std::FILE* stream) {
    std::fflush(stream);
    _setmode(_fileno(stream), _O_BINARY);
    std::setvbuf(stream, nullptr, _IONBF, 0);
}

} // namespace

void KZ_Platform::start() {
    plain(stdout);
    plain(stderr);
    // Before SDL asks for the desktop's size and opens the window (below).
    SetProcessDPIAware();
}

// A big screen. On Linux SDL's 1.2 layer on SDL 2 opens the window at a whole
// multiple of the game's screen, draws the game into a screen of its own size
// and enlarges every frame with each game pixel a sharp square; the factor
// comes from SDL12COMPAT_WINDOW_SCALING, which KZ_Display sets from the
// desktop's size unless the player has. SDL 1.2 on Windows has no such layer,
// so the same is done here, with the same variable: the window opens at the
// enlarged size, the game draws into its bottom-left corner at its own size,
// and before each frame is shown that corner is copied into a texture and
// drawn over the whole window, nearest texel first. Pointer positions come
// back in window pixels and are divided down to game pixels.
//
// Windows also enlarges (and blurs) the windows of programs that do not say
// they know the screen's pixel density; the game draws every pixel itself and
// says so, which also makes SDL see the desktop's real size.

namespace {

double factor = 1.0; // window pixels per game pixel
int gameWidth = 0;   // the game's screen
int gameHeight = 0;
int windowWidth = 0; // the window
int windowHeight = 0;
GLuint frame = 0;   // the texture each frame is enlarged from; 0: not enlarged
int frameWidth = 0; // its size, powers of two
int frameHeight = 0;

} // namespace

void KZ_Platform::windowSize(int& width, int& height) {
    gameWidth = width;
    gameHeight = height;
    // As sdl12-compat reads it: a number, 1 or more; anything else is 1. Kept
    // within what a window and a texture can be.
    const char* value = std::getenv("SDL12COMPAT_WINDOW_SCALING");
    const double asked = value != nullptr ? std::atof(value) : 1.0;
    factor = asked >= 1.0 && asked <= 16.0 ? asked : 1.0;
    width = static_cast<int>(std::lround(gameWidth * factor));
    height = static_cast<int>(std::lround(gameHeight * factor));
    windowWidth = width;
    windowHeight = height;
}

void KZ_Platform::windowOpened() {
    if (windowWidth == gameWidth && windowHeight == gameHeight) {
        return;
    }
    glViewport(0, 0, gameWidth, gameHeight);
    frameWidth = KZ_ResourceManager::powerOfTwo(gameWidth);
    frameHeight = KZ_ResourceManager::powerOfTwo(gameHeight);
    glGenTextures(1, &frame);
    glBindTexture(GL_TEXTURE_2D, frame);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, frameWidth, frameHeight, 0, GL_RGB, GL_UNSIGNED_BYTE,
                 nullptr);
    glBindTexture(GL_TEXTURE_2D, 0);
}

void KZ_Platform::beforeSwap() {
    if (frame == 0) {
        return;
    }
    // Everything the game set stays as it was for the next frame.
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, 1, 0, 1, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();

    glBindTexture(GL_TEXTURE_2D, frame);
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, gameWidth, gameHeight);
    glViewport(0, 0, windowWidth, windowHeight);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    const GLfloat u = GLfloat(gameWidth) / GLfloat(frameWidth);
    const GLfloat v = GLfloat(gameHeight) / GLfloat(frameHeight);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex2f(0, 0);
    glTexCoord2f(u, 0);
    glVertex2f(1, 0);
    glTexCoord2f(u, v);
    glVertex2f(1, 1);
    glTexCoord2f(0, v);
    glVertex2f(0, 1);
    glEnd();

    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glPopAttrib();
}

void KZ_Platform::pointer(SDL_Event* event) {
    if (frame == 0) {
        return;
    }
    auto down = [](Uint16 at, int most) {
        const int game = static_cast<int>(at / factor);
        return static_cast<Uint16>(game < most ? game : most - 1);
    };
    if (event->type == SDL_MOUSEMOTION) {
        event->motion.x = down(event->motion.x, gameWidth);
        event->motion.y = down(event->motion.y, gameHeight);
    } else {
        event->button.x = down(event->button.x, gameWidth);
        event->button.y = down(event->button.y, gameHeight);
    }
}

std::string KZ_Platform::dataFolder() {
    const wchar_t* data = _wgetenv(L"APPDATA");
    if (data == nullptr || data[0] == 0) {
        return "";
    }
    // Paths are UTF-8 everywhere in the engine.
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, data, -1, nullptr, 0, nullptr, nullptr);
    if (bytes <= 1) {
        return "";
    }
    std::string folder(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, data, -1, &folder[0], bytes, nullptr, nullptr);
    folder.resize(static_cast<std::size_t>(bytes - 1));
    for (char& c : folder) {
        if (c == '\\') {
            c = '/';
        }
    }
    return folder;
}

static std::wstring wide(const std::string& path) {
    const int chars = MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, nullptr, 0);
    if (chars <= 0) {
        return L"";
    }
    std::wstring text(static_cast<std::size_t>(chars), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, &text[0], chars);
    text.resize(static_cast<std::size_t>(chars - 1));
    return text;
}

bool KZ_Platform::replaceFile(const std::string& from, const std::string& to) {
    const std::wstring source = wide(from);
    HANDLE file = CreateFileW(source.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    const bool flushed = FlushFileBuffers(file) != 0;
    CloseHandle(file);
    return flushed && MoveFileExW(source.c_str(), wide(to).c_str(),
                                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}
