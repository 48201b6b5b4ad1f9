// IMG_Load for the browser build: PNG pictures read with libpng into memory
// surfaces (SDL_wasm, from scripts/deps), laid out as SDL_image lays them out: pictures with
// alpha as 32 bits (bytes R, G, B, A), colour pictures as 24 bits (R, G, B),
// palette and grey pictures as 8 bits with their palette.

#include <SDL/SDL.h>
#include <SDL/SDL_image.h>
#include <cstdio>
#include <cstring>
#include <png.h>

extern "C" SDL_Surface* IMG_Load(const char* file) {
    std::FILE* f = std::fopen(file, "rb");
    if (f == nullptr) {
        SDL_SetError("Couldn't open %s", file);
        return nullptr;
    }
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_stdio(&image, f)) {
        std::fclose(f);
        SDL_SetError("Error reading the PNG file: %s", image.message);
        return nullptr;
    }
    SDL_Surface* surface = nullptr;
    const bool alpha = (image.format & PNG_FORMAT_FLAG_ALPHA) != 0;
    const bool colour = (image.format & PNG_FORMAT_FLAG_COLOR) != 0;
    const bool palette = !alpha && (!colour || (image.format & PNG_FORMAT_FLAG_COLORMAP) != 0);
    if (alpha) {
        image.format = PNG_FORMAT_RGBA;
        surface = SDL_CreateRGBSurface(SDL_SWSURFACE, int(image.width), int(image.height), 32,
                                       0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000);
    } else if (palette) {
        image.format = PNG_FORMAT_RGB_COLORMAP;
        surface =
            SDL_CreateRGBSurface(SDL_SWSURFACE, int(image.width), int(image.height), 8, 0, 0, 0, 0);
    } else {
        image.format = PNG_FORMAT_RGB;
        surface = SDL_CreateRGBSurface(SDL_SWSURFACE, int(image.width), int(image.height), 24,
                                       0x0000FF, 0x00FF00, 0xFF0000, 0);
    }
    if (surface == nullptr) {
        png_image_free(&image);
        std::fclose(f);
        return nullptr;
    }
    unsigned char colours[256 * 3];
    const bool read = png_image_finish_read(&image, nullptr, surface->pixels, surface->pitch,
                                            palette ? colours : nullptr) != 0;
    std::fclose(f);
    if (!read) {
        SDL_FreeSurface(surface);
        SDL_SetError("Error reading the PNG file: %s", image.message);
        return nullptr;
    }
    if (palette) {
        SDL_Color entries[256];
        for (unsigned i = 0; i < image.colormap_entries && i < 256; ++i) {
            entries[i].r = colours[3 * i];
            entries[i].g = colours[3 * i + 1];
            entries[i].b = colours[3 * i + 2];
            entries[i].unused = 0;
        }
        SDL_SetColors(surface, entries, 0, int(image.colormap_entries));
    }
    return surface;
}
