#ifndef KZ_GRAPHICS_H
#define KZ_GRAPHICS_H

// Opaque drawing handle handed to every display() and draw() call.
// Nothing ever creates one: the handle passed around is always null and
// drawing goes straight to the current OpenGL context. It exists so that
// drawing code has one signature whatever the back end.
class KZ_Graphics {};

#endif
