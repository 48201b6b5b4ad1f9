#include "KZ/ResourceManager.h"
#include "KZ/FontRenderer.h"
#include "KZ/Sprite.h"
#include "RenderHelpers.h"
#include "TestSupport.h"

#include <climits>
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using renderhelpers::texel;
using renderhelpers::textureLevelParameter;
using renderhelpers::textureTexels;

namespace {

const char* const WIDTH_WARNING = "warning: image.bmp's width is not a power of 2\n";
const char* const HEIGHT_WARNING = "warning: image.bmp's height is not a power of 2\n";
const char* const TRUECOLOR_WARNING =
    "warning: the image is not truecolor..  this will probably break\n";

// Loads `path` and returns its texture, with what the loader printed.
GLuint load(const std::string& path, std::string* printed) {
    testsupport::captureStdout();
    GLuint texture = KZ_ResourceManager::loadTexture(path);
    *printed = testsupport::capturedStdout();
    return texture;
}

unsigned rgba(int r, int g, int b, int a = 255) {
    return (unsigned(r) << 24) | (unsigned(g) << 16) | (unsigned(b) << 8) | unsigned(a);
}

// The colour make_fixtures.py gives pixel (x, y) of rgb_5x3.png and rgb16_4x2.png.
unsigned oddColour(int x, int y) {
    return rgba(40 * x + 10, 80 * y + 20, 250 - 30 * x - 50 * y);
}

// A 2 x 1 surface with a red and a blue pixel in the given layout.
SDL_Surface* redBlueSurface(int bits, Uint32 rmask, Uint32 gmask, Uint32 bmask, Uint32 amask) {
    SDL_Surface* surface =
        SDL_CreateRGBSurface(SDL_SWSURFACE, 2, 1, bits, rmask, gmask, bmask, amask);
    const Uint32 red = SDL_MapRGBA(surface->format, 255, 0, 0, 255);
    const Uint32 blue = SDL_MapRGBA(surface->format, 0, 0, 255, 128);
    const int bytes = surface->format->BytesPerPixel;
    unsigned char* pixels = static_cast<unsigned char*>(surface->pixels);
    std::memcpy(pixels, &red, bytes); // little-endian: the low bytes are the pixel
    std::memcpy(pixels + bytes, &blue, bytes);
    return surface;
}

} // namespace

TEST(ResourceManager, PowerOfTwoRoundsUpFromOne) {
    EXPECT_EQ(1, KZ_ResourceManager::powerOfTwo(-7));
    EXPECT_EQ(1, KZ_ResourceManager::powerOfTwo(0));
    EXPECT_EQ(1, KZ_ResourceManager::powerOfTwo(1));
    EXPECT_EQ(2, KZ_ResourceManager::powerOfTwo(2));
    EXPECT_EQ(8, KZ_ResourceManager::powerOfTwo(5));
    EXPECT_EQ(8, KZ_ResourceManager::powerOfTwo(8));
    EXPECT_EQ(1024, KZ_ResourceManager::powerOfTwo(640));
    EXPECT_EQ(1 << 30, KZ_ResourceManager::powerOfTwo(1 << 30));
    // No int holds a larger power of two: past 2^30 the answer stays 2^30
    // instead of overflowing or looping for ever.
    EXPECT_EQ(1 << 30, KZ_ResourceManager::powerOfTwo((1 << 30) + 1));
    EXPECT_EQ(1 << 30, KZ_ResourceManager::powerOfTwo(INT_MAX));
}

TEST(ResourceManager, TrueColourPngBecomesATextureOfItsOwnSize) {
    testsupport::openWindow();
    std::string printed;
    GLuint texture = load("tests/fixtures/rgba_256x128.png", &printed);
    EXPECT_NE(0u, texture);
    EXPECT_EQ("", printed);
    EXPECT_EQ(256, textureLevelParameter(texture, GL_TEXTURE_WIDTH));
    EXPECT_EQ(128, textureLevelParameter(texture, GL_TEXTURE_HEIGHT));
    EXPECT_EQ(4, textureLevelParameter(texture, GL_TEXTURE_INTERNAL_FORMAT));
    GLint filter = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &filter);
    EXPECT_EQ(GL_LINEAR, filter);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &filter);
    EXPECT_EQ(GL_LINEAR, filter);
    // Top row of the picture is texture row 0; bytes taken as R, G, B, A.
    std::vector<unsigned char> texels = textureTexels(texture);
    EXPECT_EQ(rgba(255, 0, 0), texel(texels, 256, 0, 0));
    EXPECT_EQ(rgba(0, 255, 0), texel(texels, 256, 255, 0));
    EXPECT_EQ(rgba(0, 0, 255), texel(texels, 256, 0, 127));
    EXPECT_EQ(rgba(255, 255, 255), texel(texels, 256, 255, 127));

    // Nothing is cached: a second load is a second texture.
    GLuint again = load("tests/fixtures/rgba_256x128.png", &printed);
    EXPECT_NE(texture, again);
    EXPECT_TRUE(glIsTexture(texture));
    EXPECT_TRUE(glIsTexture(again));
}

TEST(ResourceManager, LoaderTellsTheSpriteThePictureSize) {
    testsupport::openWindow();
    KZ_Sprite sprite("tests/fixtures/red_16x16.png");
    GLuint texture = KZ_ResourceManager::loadTexture("tests/fixtures/rgba_256x128.png", &sprite);
    EXPECT_EQ(256, sprite.getWidth());
    EXPECT_EQ(128, sprite.getHeight());
    EXPECT_EQ(256, sprite.getTextureBB()->width);
    EXPECT_EQ(128, sprite.getTextureBB()->height);
    // The texture is the caller's; the sprite keeps its own.
    EXPECT_NE(sprite.texture, texture);
    glDeleteTextures(1, &texture);
}

TEST(ResourceManager, SidesNotPowersOfTwoAreWarnedAboutWidthFirst) {
    testsupport::openWindow();
    std::string printed;
    GLuint texture = load("tests/fixtures/rgb_300x200.png", &printed);
    EXPECT_EQ(std::string(WIDTH_WARNING) + HEIGHT_WARNING, printed);
    EXPECT_EQ(300, textureLevelParameter(texture, GL_TEXTURE_WIDTH));
    EXPECT_EQ(200, textureLevelParameter(texture, GL_TEXTURE_HEIGHT));
    EXPECT_EQ(3, textureLevelParameter(texture, GL_TEXTURE_INTERNAL_FORMAT));
}

TEST(ResourceManager, OddWidthRgbRowsUploadWithoutSkew) {
    testsupport::openWindow();
    std::string printed;
    // 5 pixels of 3 bytes: SDL pads every row from 15 to 16 bytes.
    GLuint texture = load("tests/fixtures/rgb_5x3.png", &printed);
    EXPECT_EQ(std::string(WIDTH_WARNING) + HEIGHT_WARNING, printed);
    std::vector<unsigned char> texels = textureTexels(texture);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x) {
            EXPECT_EQ(oddColour(x, y), texel(texels, 5, x, y)) << x << "," << y;
        }
    }
}

TEST(ResourceManager, SurfaceMasksChooseRgbOrBgrOrder) {
    testsupport::openWindow();
    struct Layout {
        int bits;
        Uint32 r, g, b, a;
        bool alpha;
    };
    const Layout layouts[] = {
        {32, 0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000, true}, // GL_RGBA
        {32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000, true}, // GL_BGRA_EXT
        {24, 0x000000FF, 0x0000FF00, 0x00FF0000, 0, false},         // GL_RGB
        {24, 0x00FF0000, 0x0000FF00, 0x000000FF, 0, false},         // GL_BGR_EXT
    };
    for (const Layout& layout : layouts) {
        SCOPED_TRACE(testing::Message()
                     << layout.bits << " bits, red mask " << std::hex << layout.r);
        SDL_Surface* surface = redBlueSurface(layout.bits, layout.r, layout.g, layout.b, layout.a);
        testsupport::captureStdout();
        GLuint texture = KZ_ResourceManager::sdlSurfaceToTexture(surface);
        EXPECT_EQ("", testsupport::capturedStdout());
        EXPECT_EQ(layout.bits / 8, textureLevelParameter(texture, GL_TEXTURE_INTERNAL_FORMAT));
        std::vector<unsigned char> texels = textureTexels(texture);
        EXPECT_EQ(rgba(255, 0, 0), texel(texels, 2, 0, 0));
        EXPECT_EQ(rgba(0, 0, 255, layout.alpha ? 128 : 255), texel(texels, 2, 1, 0));
        // The surface stays the caller's, untouched.
        EXPECT_EQ(2, surface->w);
        SDL_FreeSurface(surface);
        glDeleteTextures(1, &texture);
    }
}

TEST(ResourceManager, PaletteAndGreyPicturesAreConvertedToRgba) {
    testsupport::openWindow();
    std::string printed;
    GLuint palette = load("tests/fixtures/palette_4x2.png", &printed);
    EXPECT_EQ(TRUECOLOR_WARNING, printed);
    EXPECT_EQ(4, textureLevelParameter(palette, GL_TEXTURE_INTERNAL_FORMAT));
    EXPECT_EQ(4, textureLevelParameter(palette, GL_TEXTURE_WIDTH));
    EXPECT_EQ(2, textureLevelParameter(palette, GL_TEXTURE_HEIGHT));
    const unsigned colours[8] = {rgba(255, 0, 0),     rgba(0, 255, 0),  rgba(0, 0, 255),
                                 rgba(255, 255, 255), rgba(10, 20, 30), rgba(200, 100, 50),
                                 rgba(0, 128, 255),   rgba(0, 0, 0)};
    std::vector<unsigned char> texels = textureTexels(palette);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(colours[i], texel(texels, 4, i % 4, i / 4)) << "index " << i;
    }

    // A transparent palette entry stays transparent through the conversion.
    GLuint transparent = load("tests/fixtures/palette_transparent_4x2.png", &printed);
    EXPECT_EQ(TRUECOLOR_WARNING, printed);
    texels = textureTexels(transparent);
    EXPECT_EQ(rgba(255, 0, 0), texel(texels, 4, 0, 0));
    EXPECT_EQ(0u, texel(texels, 4, 1, 0) & 0xFF);
    EXPECT_EQ(rgba(0, 0, 255), texel(texels, 4, 2, 0));

    GLuint grey = load("tests/fixtures/grey_4x2.png", &printed);
    EXPECT_EQ(TRUECOLOR_WARNING, printed);
    texels = textureTexels(grey);
    for (int i = 0; i < 8; ++i) {
        const int level = 30 * i;
        EXPECT_EQ(rgba(level, level, level), texel(texels, 4, i % 4, i / 4)) << "pixel " << i;
    }
}

TEST(ResourceManager, SixteenBitPictureKeepsItsHighBytes) {
    testsupport::openWindow();
    std::string printed;
    // The image library hands 16-bit samples over reduced to 8 bits.
    GLuint texture = load("tests/fixtures/rgb16_4x2.png", &printed);
    EXPECT_EQ("", printed);
    std::vector<unsigned char> texels = textureTexels(texture);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 4; ++x) {
            EXPECT_EQ(oddColour(x, y), texel(texels, 4, x, y)) << x << "," << y;
        }
    }
}

TEST(ResourceManager, LoadingLeavesTheUnpackAlignmentAsItWas) {
    testsupport::openWindow();
    glPixelStorei(GL_UNPACK_ALIGNMENT, 8);
    std::string printed;
    load("tests/fixtures/rgb_5x3.png", &printed);
    GLint alignment = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(8, alignment);
}

// A picture that cannot be read ends the program in an orderly way: the
// loader's message, a line saying which file, status 1.
TEST(ResourceManagerDeathTest, MissingFileEndsTheProgramNamingIt) {
    EXPECT_EXIT(
        {
            renderhelpers::stdoutToStderr();
            testsupport::openWindow();
            KZ_ResourceManager::loadTexture("res/missing.png");
        },
        testing::ExitedWithCode(1),
        "SDL could not load image.bmp: [^\n]*\nCould not load res/missing.png: there is no such "
        "file in /[^\n]*\n");
}

TEST(ResourceManagerDeathTest, UnreadableFileEndsTheProgramNamingIt) {
    KZ_Sprite* sprite = nullptr;
    EXPECT_EXIT(
        {
            renderhelpers::stdoutToStderr();
            testsupport::openWindow();
            sprite = new KZ_Sprite("tests/fixtures/not_a_picture.png");
        },
        testing::ExitedWithCode(1),
        "SDL could not load image.bmp: [^\n]*\nCould not load tests/fixtures/not_a_picture.png: "
        "it is not a picture the game can read \\(damaged, or in another format\\)\n");
    EXPECT_EQ(nullptr, sprite);
}

TEST(ResourceManagerDeathTest, NullSurfaceEndsTheProgram) {
    EXPECT_EXIT(
        {
            renderhelpers::stdoutToStderr();
            testsupport::openWindow();
            KZ_ResourceManager::sdlSurfaceToTexture(nullptr);
        },
        testing::ExitedWithCode(1),
        "SDL could not load image.bmp: [^\n]*\nCould not make a texture");
}

// A program that sets a fault handler (the script player, which shows the
// fault over the game) goes on after a picture or font that cannot be read:
// the loader's message is printed as before, the handler gets the line that
// would have ended the program, and what stands in draws nothing.
namespace {
std::vector<std::string> faults;
void keepFault(const std::string& line) {
    faults.push_back(line);
}
} // namespace

TEST(ResourceManager, WithAFaultHandlerUnreadablePicturesAndFontsLetTheProgramGoOn) {
    testsupport::openWindow();
    KZ_ResourceManager::setFaultHandler(keepFault);
    std::string printed;
    const GLuint missing = load("res/missing.png", &printed);
    EXPECT_EQ(0u, printed.find("SDL could not load image.bmp: "));
    KZ_Sprite* junk = new KZ_Sprite("tests/fixtures/not_a_picture.png");
    const GLuint none = KZ_ResourceManager::sdlSurfaceToTexture(nullptr);
    KZ_FontRenderer* font = new KZ_FontRenderer("res/missing.ttf", 18);
    font->renderText("Buenos dias", 200);
    testsupport::beginSceneFrame();
    junk->draw(0, 0, 0);
    font->draw(0, 0, 0);
    EXPECT_EQ(0u, testsupport::readPixel(0, 0)); // nothing drawn in their place
    KZ_ResourceManager::setFaultHandler(nullptr);

    for (GLuint texture : {missing, junk->texture, none}) {
        EXPECT_NE(0u, texture);
        EXPECT_EQ(1, textureLevelParameter(texture, GL_TEXTURE_WIDTH));
    }
    ASSERT_EQ(4u, faults.size());
    EXPECT_EQ(0u, faults[0].find("Could not load res/missing.png: there is no such file in /"));
    EXPECT_EQ("Could not load tests/fixtures/not_a_picture.png: it is not a picture the game can "
              "read (damaged, or in another format)",
              faults[1]);
    EXPECT_EQ("Could not make a texture: no picture was given", faults[2]);
    EXPECT_EQ(0u, faults[3].find("Could not load res/missing.ttf: there is no such file in /"));
    delete junk;
    delete font;
}
