#include "RenderHelpers.h"

#include "KZ/Display.h"

#include <cstdio>
#include <unistd.h>

namespace renderhelpers {

void stdoutToStderr() {
    std::fflush(stdout);
    dup2(STDERR_FILENO, STDOUT_FILENO);
}

GLint textureLevelParameter(GLuint texture, GLenum parameter) {
    GLint value = 0;
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, parameter, &value);
    return value;
}

std::vector<unsigned char> textureTexels(GLuint texture) {
    const GLint width = textureLevelParameter(texture, GL_TEXTURE_WIDTH);
    const GLint height = textureLevelParameter(texture, GL_TEXTURE_HEIGHT);
    std::vector<unsigned char> texels(static_cast<std::size_t>(width) * height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    return texels;
}

unsigned texel(const std::vector<unsigned char>& texels, int width, int x, int y) {
    const unsigned char* p = &texels[(static_cast<std::size_t>(y) * width + x) * 4];
    return (unsigned(p[0]) << 24) | (unsigned(p[1]) << 16) | (unsigned(p[2]) << 8) | p[3];
}

std::vector<unsigned> readWindow() {
    const int width = KZ_Display::SCREEN_WIDTH;
    const int height = KZ_Display::SCREEN_HEIGHT;
    std::vector<unsigned char> rgba(static_cast<std::size_t>(width) * height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    std::vector<unsigned> pixels(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        // OpenGL's rows run bottom to top.
        const unsigned char* row = &rgba[static_cast<std::size_t>(height - 1 - y) * width * 4];
        for (int x = 0; x < width; ++x) {
            const unsigned char* p = row + x * 4;
            pixels[static_cast<std::size_t>(y) * width + x] =
                (unsigned(p[0]) << 16) | (unsigned(p[1]) << 8) | unsigned(p[2]);
        }
    }
    return pixels;
}

} // namespace renderhelpers
