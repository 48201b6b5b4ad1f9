#include "KZ/Platform.h"

#include <GL/gl.h>
#include <emscripten.h>
#include <map>
#include <vector>

// In a web page, through Emscripten. Its SDL 1.2 runs on the page's canvas,
// its OpenGL 1.x emulation on WebGL, and the main loop keeps running because
// the program is built with ASYNCIFY: SDL_Delay gives the page back to the
// browser until the next frame. What the emulation leaves out is made up here.

void KZ_Platform::start() {
    // The page learns that the game has started, for its loading screen.
    emscripten_run_script("if (Module.onGameStart) Module.onGameStart();");
}

// Emscripten's SDL_Quit only prints that it does nothing; the browser closes
// the window with the page. Quitting prints nothing, as on the desktop.
extern "C" void SDL_Quit() {}

// The emulation takes texture coordinates as floats, as OpenGL itself keeps them.
extern "C" void glTexCoord2d(GLdouble s, GLdouble t) {
    glTexCoord2f(static_cast<GLfloat>(s), static_cast<GLfloat>(t));
}

// --- Display lists --------------------------------------------------------
//
// The emulation has no display lists. A sprite reserves one list name and
// may compile its textured quad into it (KZ_Sprite::genLists), so lists are
// kept here: between glNewList and glEndList the calls a sprite makes are
// recorded instead of drawn (GL_COMPILE) or as well as drawn
// (GL_COMPILE_AND_EXECUTE), and glCallList plays them back. The build routes
// those calls here (--wrap, see cmake/web.cmake); __real_* is the emulation's.

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
