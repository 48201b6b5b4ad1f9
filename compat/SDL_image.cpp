// SDL_image 1.2.12's PNG loading (include/SDL/SDL_image.h), for the builds
// that cannot use the original library: PNG read with libpng into an SDL 1.2
// surface with the very SDL calls SDL_image makes, in the same order, so that
// any SDL 1.2 (SDL 1.2.15 on Windows, SDL_wasm.c in the browser, sdl12-compat
// in the tests) gives the surface SDL_image would give on it:
//
// - 16 bits per channel cut to their high byte, no gamma correction (gAMA,
//   sRGB and iCCP are ignored); 1, 2 and 4-bit pixels one per byte.
// - Palette pictures: 8 bits with the PLTE's colours (as many as it holds);
//   a tRNS whose entries are all opaque but one fully transparent one makes
//   that entry the colour key, any other tRNS expands the picture to RGBA.
// - Grey pictures: scaled to 8 bits with a grey ramp palette; with a tRNS they
//   get an alpha byte after the grey one and a colour key of black, as
//   SDL_image gives them.
// - RGB: 24 bits (bytes R, G, B); with a tRNS, the colour key is the tRNS
//   colour's low bytes, as SDL_image maps it. Grey with alpha and RGBA: 32 bits
//   (bytes R, G, B, A).
// - Failures: "Unsupported image format" for anything that is not PNG,
//   "Error reading the PNG file." for a broken or cut short one, "Out of
//   memory" when SDL refuses the surface; the stream goes back to where the
//   picture started.

#include <SDL/SDL.h>
#include <SDL/SDL_image.h>
#include <csetjmp>
#include <cstdlib>
#include <png.h>

namespace {

// libpng's reads; a read cut short is an error (SDL_image would go on with
// whatever the buffer held before, and fail later, or not at all).
void readData(png_structp png, png_bytep area, png_size_t size) {
    SDL_RWops* src = static_cast<SDL_RWops*>(png_get_io_ptr(png));
    if (SDL_RWread(src, area, int(size), 1) != 1) {
        png_error(png, "Read Error");
    }
}

// Whether SDL_image makes a colour key of a palette picture's tRNS: all
// entries opaque but exactly one fully transparent. Sets *key to that entry,
// or to -1 when every entry is opaque.
bool keyOfPalette(png_const_bytep trans, int count, int* key) {
    int transparent = -1;
    for (int i = 0; i < count; ++i) {
        if (trans[i] == 0) {
            if (transparent >= 0) {
                return false;
            }
            transparent = i;
        } else if (trans[i] != 255) {
            return false;
        }
    }
    *key = transparent;
    return true;
}

// Everything between setjmp and the end of reading lives here, plain data
// only, so that libpng's longjmp on an error skips no destructor.
struct Load {
    png_structp png;
    png_infop info;
    SDL_Surface* surface;
    png_bytep* rows;
    const char* error;
};

void read(Load* load) {
    png_uint_32 width = 0, height = 0;
    int depth = 0, colour = 0, interlace = 0;
    png_get_IHDR(load->png, load->info, &width, &height, &depth, &colour, &interlace, nullptr,
                 nullptr);
    png_set_strip_16(load->png);
    png_set_packing(load->png);
    if (colour == PNG_COLOR_TYPE_GRAY) {
        png_set_expand(load->png);
    }
    int key = -1;
    png_color_16p transColour = nullptr;
    if (png_get_valid(load->png, load->info, PNG_INFO_tRNS) != 0) {
        png_bytep trans = nullptr;
        int count = 0;
        png_get_tRNS(load->png, load->info, &trans, &count, &transColour);
        if (colour == PNG_COLOR_TYPE_PALETTE) {
            if (!keyOfPalette(trans, count, &key)) {
                png_set_expand(load->png);
            }
        } else {
            key = 0; // mapped below, once the surface's format is known
        }
    }
    if (colour == PNG_COLOR_TYPE_GRAY_ALPHA) {
        png_set_gray_to_rgb(load->png);
    }
    png_read_update_info(load->png, load->info);
    png_get_IHDR(load->png, load->info, &width, &height, &depth, &colour, &interlace, nullptr,
                 nullptr);

    Uint32 rmask = 0, gmask = 0, bmask = 0, amask = 0;
    const int channels = png_get_channels(load->png, load->info);
    if (colour != PNG_COLOR_TYPE_PALETTE) {
#if SDL_BYTEORDER == SDL_LIL_ENDIAN
        rmask = 0x000000FF;
        gmask = 0x0000FF00;
        bmask = 0x00FF0000;
        amask = channels == 4 ? 0xFF000000 : 0;
#else
        const int shift = channels == 4 ? 0 : 8;
        rmask = 0xFF000000 >> shift;
        gmask = 0x00FF0000 >> shift;
        bmask = 0x0000FF00 >> shift;
        amask = 0x000000FF >> shift;
#endif
    }
    load->surface = SDL_CreateRGBSurface(SDL_SWSURFACE, int(width), int(height), depth * channels,
                                         rmask, gmask, bmask, amask);
    if (load->surface == nullptr) {
        load->error = "Out of memory";
        return;
    }
    if (key != -1) {
        if (colour != PNG_COLOR_TYPE_PALETTE) {
            key = int(SDL_MapRGB(load->surface->format, Uint8(transColour->red),
                                 Uint8(transColour->green), Uint8(transColour->blue)));
        }
        SDL_SetColorKey(load->surface, SDL_SRCCOLORKEY, Uint32(key));
    }

    load->rows = static_cast<png_bytep*>(std::malloc(sizeof(png_bytep) * (height + 1)));
    if (load->rows == nullptr) {
        load->error = "Out of memory";
        return;
    }
    for (png_uint_32 row = 0; row < height; ++row) {
        load->rows[row] =
            static_cast<png_bytep>(load->surface->pixels) + row * load->surface->pitch;
    }
    png_read_image(load->png, load->rows);

    SDL_Palette* palette = load->surface->format->palette;
    if (palette != nullptr) {
        if (colour == PNG_COLOR_TYPE_GRAY) {
            palette->ncolors = 256;
            for (int i = 0; i < 256; ++i) {
                palette->colors[i].r = palette->colors[i].g = palette->colors[i].b = Uint8(i);
            }
        } else {
            png_colorp entries = nullptr;
            int count = 0;
            png_get_PLTE(load->png, load->info, &entries, &count);
            if (count > 0) {
                palette->ncolors = count;
                for (int i = 0; i < count; ++i) {
                    palette->colors[i].r = entries[i].red;
                    palette->colors[i].g = entries[i].green;
                    palette->colors[i].b = entries[i].blue;
                }
            }
        }
    }
}

} // namespace

extern "C" {

const SDL_version* IMG_Linked_Version(void) {
    static SDL_version version;
    SDL_IMAGE_VERSION(&version);
    return &version;
}

int IMG_isPNG(SDL_RWops* src) {
    if (src == nullptr) {
        return 0;
    }
    const long start = SDL_RWtell(src);
    Uint8 magic[4];
    int found = 0;
    if (SDL_RWread(src, magic, 1, int(sizeof magic)) == int(sizeof magic)) {
        found = magic[0] == 0x89 && magic[1] == 'P' && magic[2] == 'N' && magic[3] == 'G';
    }
    SDL_RWseek(src, start, RW_SEEK_SET);
    return found;
}

SDL_Surface* IMG_LoadPNG_RW(SDL_RWops* src) {
    if (src == nullptr) {
        return nullptr;
    }
    const long start = SDL_RWtell(src);
    // On the heap: what libpng's longjmp returns to must not live in
    // registers that setjmp saved.
    Load* const load = static_cast<Load*>(std::calloc(1, sizeof(Load)));
    if (load == nullptr) {
        SDL_SetError("Out of memory");
        return nullptr;
    }
    load->png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (load->png == nullptr) {
        load->error = "Couldn't allocate memory for PNG file or incompatible PNG dll";
    } else if ((load->info = png_create_info_struct(load->png)) == nullptr) {
        load->error = "Couldn't create image information for PNG file";
    } else if (setjmp(png_jmpbuf(load->png)) != 0) {
        load->error = "Error reading the PNG file.";
    } else {
        png_set_read_fn(load->png, src, readData);
        png_read_info(load->png, load->info);
        read(load);
    }
    if (load->png != nullptr) {
        png_destroy_read_struct(&load->png, load->info != nullptr ? &load->info : nullptr, nullptr);
    }
    std::free(load->rows);
    if (load->error != nullptr) {
        SDL_RWseek(src, start, RW_SEEK_SET);
        SDL_FreeSurface(load->surface);
        load->surface = nullptr;
        SDL_SetError("%s", load->error);
    }
    SDL_Surface* const surface = load->surface;
    std::free(load);
    return surface;
}

SDL_Surface* IMG_Load_RW(SDL_RWops* src, int freesrc) {
    if (src == nullptr) {
        SDL_SetError("Passed a NULL data source");
        return nullptr;
    }
    if (SDL_RWseek(src, 0, RW_SEEK_CUR) < 0) {
        SDL_SetError("Can't seek in this data source");
        if (freesrc != 0) {
            SDL_RWclose(src);
        }
        return nullptr;
    }
    SDL_Surface* surface = nullptr;
    const bool png = IMG_isPNG(src) != 0;
    if (png) {
        surface = IMG_LoadPNG_RW(src);
    }
    if (freesrc != 0) {
        SDL_RWclose(src);
    }
    if (!png) {
        SDL_SetError("Unsupported image format");
    }
    return surface;
}

SDL_Surface* IMG_Load(const char* file) {
    SDL_RWops* src = SDL_RWFromFile(file, "rb");
    if (src == nullptr) {
        return nullptr; // SDL_RWFromFile said why
    }
    return IMG_Load_RW(src, 1);
}

} // extern "C"
