#include "KZ/ResourceManager.h"

#include "KZ/Display.h"
#include "KZ/Sprite.h"

#include <SDL/SDL_image.h>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

KZ_ResourceManager::FaultHandler KZ_ResourceManager::faultHandler = nullptr;

GLuint KZ_ResourceManager::loadTexture(std::string path) {
    return loadTexture(path, nullptr);
}

// OpenGL turns down a texture larger than its limit without a word, and the
// sprite would then show a blank quad where the picture should be: such a
// picture is refused like one that cannot be read, with SDL's error set to
// say why.
static bool tooLargeForTextures(SDL_Surface* surface) {
    GLint largest = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
    if (largest <= 0 || (surface->w <= largest && surface->h <= largest)) {
        return false;
    }
    SDL_SetError("the picture is %d x %d pixels; OpenGL takes at most %d on a side", surface->w,
                 surface->h, static_cast<int>(largest));
    return true;
}

GLuint KZ_ResourceManager::loadTexture(std::string path, KZ_Sprite* sprite) {
    SDL_Surface* surface = IMG_Load(path.c_str());
    if (surface == nullptr) {
        return fail("Could not load " + path + ": " + whyNotLoaded(path, "picture"));
    }
    if (tooLargeForTextures(surface)) {
        SDL_FreeSurface(surface);
        return fail("Could not load " + path +
                    ": the picture is too large for this computer's OpenGL");
    }
    // The sprite learns the size before the upload, so its boxes are right
    // even while the texture is being made.
    if (sprite != nullptr) {
        sprite->setWidth(surface->w);
        sprite->setHeight(surface->h);
    }
    GLuint texture = upload(surface);
    SDL_FreeSurface(surface);
    return texture;
}

GLuint KZ_ResourceManager::sdlSurfaceToTexture(SDL_Surface* surface) {
    if (surface == nullptr) {
        return fail("Could not make a texture: no picture was given");
    }
    if (tooLargeForTextures(surface)) {
        return fail(
            "Could not make a texture: the picture is too large for this computer's OpenGL");
    }
    return upload(surface);
}

std::string KZ_ResourceManager::whyNotLoaded(const std::string& path, const std::string& kind) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path file(path);
    const fs::path folder = file.parent_path();
    // Files are read relative to the folder the game runs in, which a player
    // may not know (or which a launcher chose): name it.
    const fs::path here = fs::current_path(error);
    if (!fs::exists(file, error)) {
        if (!folder.empty() && !fs::is_directory(folder, error)) {
            return "there is no " + folder.string() + "/ folder in " + here.string() +
                   " (the game reads its files from the folder it is started in)";
        }
        return "there is no such file in " + (here / folder).string();
    }
    if (fs::is_directory(file, error)) {
        return "it is a folder, not a " + kind;
    }
    std::FILE* opened = std::fopen(path.c_str(), "rb");
    if (opened == nullptr) {
        return std::string("the file is there but cannot be read (") + std::strerror(errno) + ")";
    }
    std::fclose(opened);
    return "it is not a " + kind + " the game can read (damaged, or in another format)";
}

// The alignment (8, 4, 2 or 1) whose padding gives rows of exactly `pitch`
// bytes, or 0 when none does and the rows must be repacked.
static int unpackAlignment(int rowBytes, int pitch) {
    for (int alignment = 8; alignment >= 1; alignment /= 2) {
        if ((rowBytes + alignment - 1) / alignment * alignment == pitch) {
            return alignment;
        }
    }
    return 0;
}

GLuint KZ_ResourceManager::upload(SDL_Surface* surface) {
    const int width = surface->w;
    const int height = surface->h;
    if ((width & (width - 1)) != 0) {
        std::printf("warning: image.bmp's width is not a power of 2\n");
    }
    if ((height & (height - 1)) != 0) {
        std::printf("warning: image.bmp's height is not a power of 2\n");
    }

    // Palette, grey and 16-bit pictures have no OpenGL format of their own
    // here: they are converted to 32-bit RGBA (bytes R, G, B, A) and uploaded
    // as such, so they still look right.
    SDL_Surface* converted = nullptr;
    const int bytes = surface->format->BytesPerPixel;
    if (bytes != 3 && bytes != 4) {
        std::printf("warning: the image is not truecolor..  this will probably break\n");
        SDL_Surface* rgba = SDL_CreateRGBSurface(SDL_SWSURFACE, 1, 1, 32, 0x000000FF, 0x0000FF00,
                                                 0x00FF0000, 0xFF000000);
        if (rgba != nullptr) {
            converted = SDL_ConvertSurface(surface, rgba->format, SDL_SWSURFACE);
            SDL_FreeSurface(rgba);
        }
        if (converted == nullptr) {
            return fail(std::string("Could not convert the picture to RGBA: ") + SDL_GetError());
        }
    }
    SDL_Surface* source = converted != nullptr ? converted : surface;

    const int components = source->format->BytesPerPixel;
    GLenum format;
    if (components == 4) {
        format = source->format->Rmask == 0x000000FF ? GL_RGBA : GL_BGRA_EXT;
    } else {
        format = source->format->Rmask == 0x000000FF ? GL_RGB : GL_BGR_EXT;
    }

    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);

    if (SDL_MUSTLOCK(source)) {
        SDL_LockSurface(source);
    }
    // SDL pads each row to its pitch (24-bit pictures of odd width end rows
    // on a 4-byte boundary). Tell OpenGL about the padding, or repack the rows
    // when no alignment describes it, so the picture is not skewed.
    const int rowBytes = width * components;
    const int pitch = source->pitch;
    const int alignment = unpackAlignment(rowBytes, pitch);
    std::vector<unsigned char> packed;
    const void* pixels = source->pixels;
    if (alignment == 0) {
        packed.resize(static_cast<std::size_t>(rowBytes) * static_cast<std::size_t>(height));
        const unsigned char* row = static_cast<const unsigned char*>(source->pixels);
        for (int y = 0; y < height; ++y) {
            std::memcpy(&packed[static_cast<std::size_t>(y) * rowBytes], row + y * pitch,
                        static_cast<std::size_t>(rowBytes));
        }
        pixels = packed.data();
    }
    GLint previousAlignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &previousAlignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment == 0 ? 1 : alignment);
    glTexImage2D(GL_TEXTURE_2D, 0, components, width, height, 0, format, GL_UNSIGNED_BYTE, pixels);
    glPixelStorei(GL_UNPACK_ALIGNMENT, previousAlignment);
    if (SDL_MUSTLOCK(source)) {
        SDL_UnlockSurface(source);
    }

    if (converted != nullptr) {
        SDL_FreeSurface(converted);
    }
    return texture;
}

GLuint KZ_ResourceManager::fail(const std::string& what) {
    std::printf("SDL could not load image.bmp: %s\n", SDL_GetError());
    fault(what);
    // Going on: one transparent texel, so what should have shown the picture
    // draws nothing and every texture is still a real one.
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    const unsigned char clear[4] = {0, 0, 0, 0};
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, clear);
    return texture;
}

void KZ_ResourceManager::setFaultHandler(FaultHandler handler) {
    faultHandler = handler;
}

void KZ_ResourceManager::fault(const std::string& line) {
    if (faultHandler == nullptr) {
        KZ_Display::quitWithError(line);
    }
    std::fflush(stdout);
    faultHandler(line);
}
