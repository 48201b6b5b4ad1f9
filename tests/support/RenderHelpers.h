#ifndef RENDERHELPERS_H
#define RENDERHELPERS_H

#include <GL/gl.h>
#include <vector>

// Helpers for the tests of textures, sprites and text.
namespace renderhelpers {

// Sends standard output to standard error, where death tests look for the
// dying process's messages. Call first thing inside EXPECT_EXIT/EXPECT_DEATH.
void stdoutToStderr();

// A level-0 parameter of a texture (GL_TEXTURE_WIDTH, GL_TEXTURE_INTERNAL_FORMAT...).
GLint textureLevelParameter(GLuint texture, GLenum parameter);

// The texels of a texture, read back as bytes R, G, B, A, top row first.
std::vector<unsigned char> textureTexels(GLuint texture);

// The texel at (x, y) of texels read with textureTexels(), as 0xRRGGBBAA.
unsigned texel(const std::vector<unsigned char>& texels, int width, int x, int y);

// The whole frame being drawn (the back buffer), top row first, each pixel
// 0xRRGGBB like testsupport::readPixel(); index it with y * width + x.
std::vector<unsigned> readWindow();

} // namespace renderhelpers

#endif
