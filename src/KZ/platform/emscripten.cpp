#include "KZ/Platform.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <algorithm>
#include <cmath>
#include <emscripten.h>
#include <map>
#include <vector>

// In a web page, through Emscripten. Its SDL 1.2 runs on the page's canvas,
// its OpenGL 1.x emulation on WebGL, and the main loop keeps running because
// the program is built with ASYNCIFY: SDL_Delay gives the page back to the
// browser until the next frame. What the emulation leaves out is made up here.

void KZ_Platform::start() {}

// The window is enlarged, if at all, by SDL itself (sdl12-compat on Linux, the
// page in a browser): the game's screen is the window's as far as it knows.
void KZ_Platform::windowSize(int&, int&) {}

void KZ_Platform::windowOpened() {}

void KZ_Platform::beforeSwap() {}

void KZ_Platform::pointer(SDL_Event*) {}

// The page counts the frames the game shows (its loading screen waits for
// the first one; scripts/perf measures the rate). The build routes the swap
// here (--wrap, see cmake/helpers/web.cmake); __real_SDL_GL_SwapBuffers is SDL's.
EM_JS(void, frameShown, (), {
    if (Module.onFrame) {
        Module.onFrame();
    }
});

// Only when the program waits does the browser get control back: to show
// what was drawn, take the player's input and run the page. The game waits
// in SDL_Delay, which a frame that overruns its budget skips; a device too
// slow for every frame would then never repaint nor take a click. So when a
// frame is shown and no SDL_Delay has waited since the last one, the browser
// gets control here until it has drawn a frame (a page the browser does not
// draw, hidden in the background, waits a tenth of a second at most).
// clang-format off
EM_ASYNC_JS(void, handBack, (), {
    await new Promise((resolve) => {
        const late = setTimeout(resolve, 100);
        requestAnimationFrame(() => {
            clearTimeout(late);
            setTimeout(resolve, 0); // after the frame is drawn
        });
    });
});
// clang-format on

namespace {
bool waited = false; // whether SDL_Delay waited since the last frame was shown
} // namespace

extern "C" void __real_SDL_GL_SwapBuffers();

extern "C" void __wrap_SDL_GL_SwapBuffers() {
    __real_SDL_GL_SwapBuffers();
    frameShown();
    if (!waited) {
        handBack();
    }
    waited = false;
}

// SDL_Delay is the browser's timer here, which wakes a millisecond or two
// late; the game's loop starts its next frame's budget when the sleep ends,
// so every frame would be that much longer than 1000 / 12 ms. The sleep is
// shortened by how late the timer has been waking, so sleeps last what was
// asked on average. The build routes SDL_Delay here (--wrap).
extern "C" void __real_SDL_Delay(unsigned milliseconds);

extern "C" void __wrap_SDL_Delay(unsigned milliseconds) {
    static double late = 0; // how late the timer wakes, in ms, learnt as it goes
    waited = true;
    const double start = emscripten_get_now();
    const double asked = milliseconds - late;
    __real_SDL_Delay(asked > 0 ? static_cast<unsigned>(asked + 0.5) : 0);
    const double overshoot = emscripten_get_now() - start - milliseconds;
    late = std::min(std::max(late + overshoot / 2, 0.0), 10.0);
}

// Emscripten's SDL_Quit only prints that it does nothing; the browser closes
// the window with the page. Quitting prints nothing, as on the desktop.
extern "C" void SDL_Quit() {}

// The emulation takes texture coordinates as floats, as OpenGL itself keeps them.
extern "C" void glTexCoord2d(GLdouble s, GLdouble t) {
    glTexCoord2f(static_cast<GLfloat>(s), static_cast<GLfloat>(t));
}

// The emulation's gluLookAt hands its arguments to its matrix library in the
// wrong order and so leaves the matrix as it was: the scenes' camera would be
// lost (the picture upside down, the depth order reversed). This is GLU's:
// the current matrix multiplied by the view from `eye` towards `centre`.
extern "C" void gluLookAt(GLdouble eyeX, GLdouble eyeY, GLdouble eyeZ, GLdouble centreX,
                          GLdouble centreY, GLdouble centreZ, GLdouble upX, GLdouble upY,
                          GLdouble upZ) {
    GLdouble f[3] = {centreX - eyeX, centreY - eyeY, centreZ - eyeZ};
    const GLdouble fLength = std::sqrt(f[0] * f[0] + f[1] * f[1] + f[2] * f[2]);
    for (GLdouble& c : f) {
        c /= fLength;
    }
    // side = forward x up, then up again = side x forward, both unit length.
    GLdouble s[3] = {f[1] * upZ - f[2] * upY, f[2] * upX - f[0] * upZ, f[0] * upY - f[1] * upX};
    const GLdouble sLength = std::sqrt(s[0] * s[0] + s[1] * s[1] + s[2] * s[2]);
    for (GLdouble& c : s) {
        c /= sLength;
    }
    const GLdouble u[3] = {s[1] * f[2] - s[2] * f[1], s[2] * f[0] - s[0] * f[2],
                           s[0] * f[1] - s[1] * f[0]};
    const GLdouble m[16] = {s[0], u[0], -f[0], 0, s[1], u[1], -f[1], 0,
                            s[2], u[2], -f[2], 0, 0,    0,    0,     1};
    glMultMatrixd(m);
    glTranslated(-eyeX, -eyeY, -eyeZ);
}

// OpenGL 1.0 names a texture's internal format by its number of components,
// 1 to 4, as the texture loader does; WebGL knows only the format names, and
// wants the one the pixels come in. The build routes uploads here (--wrap).
extern "C" void __real_glTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width,
                                    GLsizei height, GLint border, GLenum format, GLenum type,
                                    const void* pixels);

extern "C" void __wrap_glTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width,
                                    GLsizei height, GLint border, GLenum format, GLenum type,
                                    const void* pixels) {
    if (internalFormat >= 1 && internalFormat <= 4) {
        internalFormat = static_cast<GLint>(format);
    }
    __real_glTexImage2D(target, level, internalFormat, width, height, border, format, type, pixels);
}

// --- Display lists --------------------------------------------------------
//
// The emulation has no display lists. A sprite reserves one list name and
// may compile its textured quad into it (KZ_Sprite::genLists), so lists are
// kept here: between glNewList and glEndList the calls a sprite makes are
// recorded instead of drawn (GL_COMPILE) or as well as drawn
// (GL_COMPILE_AND_EXECUTE), and glCallList plays them back. The build routes
// those calls here (--wrap, see cmake/helpers/web.cmake); __real_* is the emulation's.

extern "C" {
void __real_glBegin(GLenum mode);
void __real_glEnd();
void __real_glVertex3i(GLint x, GLint y, GLint z);
void __real_glTexCoord2i(GLint s, GLint t);
void __real_glBindTexture(GLenum target, GLuint texture);
}

namespace {

struct Call {
    enum Kind { BEGIN, END, VERTEX, TEXCOORD, BIND } kind;
    GLint a, b, c;
};

std::map<GLuint, std::vector<Call>> lists; // every reserved name, with its calls
GLuint nextName = 1;
GLuint compiling = 0;  // the list being compiled, or 0
bool executing = true; // whether calls are drawn as well

// Records a call while a list is compiled; true when it should also be drawn.
bool record(Call::Kind kind, GLint a = 0, GLint b = 0, GLint c = 0) {
    if (compiling != 0) {
        lists[compiling].push_back({kind, a, b, c});
    }
    return executing;
}

} // namespace

extern "C" {

GLuint glGenLists(GLsizei range) {
    if (range <= 0) {
        return 0;
    }
    const GLuint first = nextName;
    for (GLsizei i = 0; i < range; ++i) {
        lists[nextName++];
    }
    return first;
}

GLboolean glIsList(GLuint list) {
    return lists.count(list) != 0 ? GL_TRUE : GL_FALSE;
}

void glDeleteLists(GLuint list, GLsizei range) {
    for (GLsizei i = 0; i < range; ++i) {
        lists.erase(list + static_cast<GLuint>(i));
    }
}

void glNewList(GLuint list, GLenum mode) {
    if (list == 0 || compiling != 0) {
        return; // OpenGL refuses both (invalid value, invalid operation)
    }
    compiling = list;
    lists[list].clear();
    executing = mode == GL_COMPILE_AND_EXECUTE;
}

void glEndList() {
    compiling = 0;
    executing = true;
}

void glCallList(GLuint list) {
    const auto found = lists.find(list);
    if (found == lists.end()) {
        return;
    }
    for (const Call& call : found->second) {
        switch (call.kind) {
        case Call::BEGIN:
            __real_glBegin(static_cast<GLenum>(call.a));
            break;
        case Call::END:
            __real_glEnd();
            break;
        case Call::VERTEX:
            __real_glVertex3i(call.a, call.b, call.c);
            break;
        case Call::TEXCOORD:
            __real_glTexCoord2i(call.a, call.b);
            break;
        case Call::BIND:
            __real_glBindTexture(static_cast<GLenum>(call.a), static_cast<GLuint>(call.b));
            break;
        }
    }
}

void __wrap_glBegin(GLenum mode) {
    if (record(Call::BEGIN, static_cast<GLint>(mode))) {
        __real_glBegin(mode);
    }
}

void __wrap_glEnd() {
    if (record(Call::END)) {
        __real_glEnd();
    }
}

void __wrap_glVertex3i(GLint x, GLint y, GLint z) {
    if (record(Call::VERTEX, x, y, z)) {
        __real_glVertex3i(x, y, z);
    }
}

void __wrap_glTexCoord2i(GLint s, GLint t) {
    if (record(Call::TEXCOORD, s, t)) {
        __real_glTexCoord2i(s, t);
    }
}

void __wrap_glBindTexture(GLenum target, GLuint texture) {
    if (record(Call::BIND, static_cast<GLint>(target), static_cast<GLint>(texture))) {
        __real_glBindTexture(target, texture);
    }
}

} // extern "C"
