// Pictures at and beyond the largest texture OpenGL takes. Beyond it OpenGL
// would refuse the upload without a word and the sprite show a blank quad, so
// the loader refuses the picture like one it cannot read.
#include "KZ/ResourceManager.h"
#include "RenderHelpers.h"
#include "TestSupport.h"

#include <SDL/SDL.h>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

namespace {

GLint largestTexture() {
    GLint largest = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
    return largest;
}

// A one-pixel-wide RGBA column of `height` pixels; the caller frees it.
SDL_Surface* column(int height) {
    return SDL_CreateRGBSurface(SDL_SWSURFACE, 1, height, 32, 0x000000FF, 0x0000FF00, 0x00FF0000,
                                0xFF000000);
}

// The column saved as a BMP file under /tmp; returns its path.
std::string columnFile(int height) {
    const std::string path = "/tmp/texture-limit-" + std::to_string(getpid()) + ".bmp";
    SDL_Surface* surface = column(height);
    SDL_SaveBMP(surface, path.c_str());
    SDL_FreeSurface(surface);
    return path;
}

TEST(TextureLimit, APictureAsTallAsOpenGLAllowsIsUploaded) {
    testsupport::openWindow();
    const GLint largest = largestTexture();
    ASSERT_GT(largest, 0);
    const std::string path = columnFile(largest);
    const GLuint texture = KZ_ResourceManager::loadTexture(path);
    unlink(path.c_str());
    EXPECT_NE(0u, texture);
    EXPECT_EQ(largest, renderhelpers::textureLevelParameter(texture, GL_TEXTURE_HEIGHT));
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
}

TEST(TextureLimitDeathTest, AFileTallerThanOpenGLAllowsEndsTheProgramNamingIt) {
    std::string path;
    EXPECT_EXIT(
        {
            renderhelpers::stdoutToStderr();
            testsupport::openWindow();
            path = columnFile(largestTexture() + 1);
            KZ_ResourceManager::loadTexture(path);
        },
        testing::ExitedWithCode(1),
        "SDL could not load image.bmp: the picture is 1 x [0-9]+ pixels; OpenGL takes at most "
        "[0-9]+ on a side\nCould not load /tmp/texture-limit-[0-9]+.bmp: the picture is too "
        "large for this computer's OpenGL\n");
    unlink(("/tmp/texture-limit-" + std::to_string(getpid()) + ".bmp").c_str());
}

TEST(TextureLimitDeathTest, ASurfaceTallerThanOpenGLAllowsEndsTheProgram) {
    EXPECT_EXIT(
        {
            renderhelpers::stdoutToStderr();
            testsupport::openWindow();
            KZ_ResourceManager::sdlSurfaceToTexture(column(largestTexture() + 1));
        },
        testing::ExitedWithCode(1),
        "SDL could not load image.bmp: the picture is 1 x [0-9]+ pixels[^\n]*\nCould not make a "
        "texture: the picture is too large");
}

} // namespace
