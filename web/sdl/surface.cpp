// Software surfaces and error messages for the browser build.
//
// Emscripten's SDL 1.2 keeps every surface in a browser canvas and copies its
// pixels in and out on locking; C code that writes a surface's pixels
// directly, as SDL_image and SDL_ttf do, and an OpenGL window, whose surfaces
// have no canvas to copy from, both lose the picture. Defining these functions
// here replaces Emscripten's versions: surfaces are plain memory, as in SDL,
// and never need locking. Only what pictures and text need is here: surfaces
// of 8 (with a palette), 24 and 32 bits, colour keys, and blits between them.

#include <SDL/SDL.h>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// One allocation holds a surface and everything it owns.
struct Block {
    SDL_Surface surface;
    SDL_PixelFormat format;
    SDL_Palette palette;
    SDL_Color colors[256];
    bool keyed;
    Uint32 key;
};

Block* blockOf(SDL_Surface* surface) {
    return reinterpret_cast<Block*>(surface);
}

void describeMask(Uint32 mask, Uint8& shift, Uint8& loss) {
    shift = 0;
    loss = 8;
    if (mask == 0) {
        return;
    }
    while ((mask & 1) == 0) {
        mask >>= 1;
        ++shift;
    }
    while ((mask & 1) != 0) {
        mask >>= 1;
        --loss;
    }
}

Uint32 readPixel(const Uint8* p, int bytes) {
    switch (bytes) {
    case 1:
        return p[0];
    case 3:
        return Uint32(p[0]) | Uint32(p[1]) << 8 | Uint32(p[2]) << 16; // little-endian
    default:
        Uint32 v;
        std::memcpy(&v, p, 4);
        return v;
    }
}

void writePixel(Uint8* p, int bytes, Uint32 v) {
    switch (bytes) {
    case 1:
        p[0] = Uint8(v);
        break;
    case 3:
        p[0] = Uint8(v);
        p[1] = Uint8(v >> 8);
        p[2] = Uint8(v >> 16);
        break;
    default:
        std::memcpy(p, &v, 4);
        break;
    }
}

Uint8 component(Uint32 pixel, Uint32 mask, Uint8 shift, Uint8 loss) {
    const Uint32 v = (pixel & mask) >> shift;
    return Uint8((v << loss) | (loss != 0 ? v >> (8 - 2 * loss > 0 ? 8 - 2 * loss : 0) : 0));
}

void toRGBA(const SDL_PixelFormat* f, Uint32 pixel, Uint8 rgba[4]) {
    if (f->BytesPerPixel == 1) {
        const SDL_Color& c = f->palette->colors[pixel & 0xFF];
        rgba[0] = c.r;
        rgba[1] = c.g;
        rgba[2] = c.b;
        rgba[3] = 255;
        return;
    }
    rgba[0] = component(pixel, f->Rmask, f->Rshift, f->Rloss);
    rgba[1] = component(pixel, f->Gmask, f->Gshift, f->Gloss);
    rgba[2] = component(pixel, f->Bmask, f->Bshift, f->Bloss);
    rgba[3] = f->Amask != 0 ? component(pixel, f->Amask, f->Ashift, f->Aloss) : 255;
}

Uint32 fromRGBA(const SDL_PixelFormat* f, const Uint8 rgba[4]) {
    if (f->BytesPerPixel == 1) {
        // The nearest colour of the palette.
        int best = 0;
        long bestDistance = -1;
        for (int i = 0; i < f->palette->ncolors; ++i) {
            const SDL_Color& c = f->palette->colors[i];
            const long dr = c.r - rgba[0], dg = c.g - rgba[1], db = c.b - rgba[2];
            const long distance = dr * dr + dg * dg + db * db;
            if (bestDistance < 0 || distance < bestDistance) {
                best = i;
                bestDistance = distance;
            }
        }
        return Uint32(best);
    }
    return (Uint32(rgba[0] >> f->Rloss) << f->Rshift & f->Rmask) |
           (Uint32(rgba[1] >> f->Gloss) << f->Gshift & f->Gmask) |
           (Uint32(rgba[2] >> f->Bloss) << f->Bshift & f->Bmask) |
           (Uint32(rgba[3] >> f->Aloss) << f->Ashift & f->Amask);
}

char lastError[1024] = "";

} // namespace

extern "C" {

void SDL_SetError(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    std::vsnprintf(lastError, sizeof lastError, fmt, args);
    va_end(args);
}

const char* SDL_GetError() {
    return lastError;
}

SDL_Surface* SDL_CreateRGBSurface(Uint32 flags, int width, int height, int depth, Uint32 Rmask,
                                  Uint32 Gmask, Uint32 Bmask, Uint32 Amask) {
    const int bytes = (depth + 7) / 8;
    if (width < 0 || height < 0 || (bytes != 1 && bytes != 3 && bytes != 4)) {
        SDL_SetError("Unsupported surface of %dx%d at %d bits", width, height, depth);
        return nullptr;
    }
    // Rows are padded to four bytes, as SDL does.
    const long pitch = (long(width) * bytes + 3) & ~3L;
    Block* block = static_cast<Block*>(std::calloc(1, sizeof(Block)));
    void* pixels = std::calloc(std::size_t(pitch) * std::size_t(height) + 1, 1);
    if (block == nullptr || pixels == nullptr || pitch > 0x7fffffffL) {
        std::free(block);
        std::free(pixels);
        SDL_SetError("Out of memory");
        return nullptr;
    }
    SDL_PixelFormat& f = block->format;
    f.BitsPerPixel = Uint8(depth);
    f.BytesPerPixel = Uint8(bytes);
    if (bytes == 1) {
        block->palette.ncolors = 256;
        block->palette.colors = block->colors;
        f.palette = &block->palette;
        for (int i = 0; i < 256; ++i) { // grey ramp until set otherwise
            block->colors[i].r = block->colors[i].g = block->colors[i].b = Uint8(i);
        }
    } else {
        f.Rmask = Rmask;
        f.Gmask = Gmask;
        f.Bmask = Bmask;
        f.Amask = Amask;
        describeMask(Rmask, f.Rshift, f.Rloss);
        describeMask(Gmask, f.Gshift, f.Gloss);
        describeMask(Bmask, f.Bshift, f.Bloss);
        describeMask(Amask, f.Ashift, f.Aloss);
    }
    f.refcount = 1;
    SDL_Surface& s = block->surface;
    s.flags = flags;
    s.format = &f;
    s.w = width;
    s.h = height;
    s.pitch = int(pitch);
    s.pixels = pixels;
    s.clip_rect.w = width;
    s.clip_rect.h = height;
    s.refcount = 1;
    return &s;
}

void SDL_FreeSurface(SDL_Surface* surface) {
    if (surface == nullptr || --surface->refcount > 0) {
        return;
    }
    std::free(surface->pixels);
    std::free(blockOf(surface));
}

int SDL_LockSurface(SDL_Surface*) {
    return 0;
}

void SDL_UnlockSurface(SDL_Surface*) {}

int SDL_SetColorKey(SDL_Surface* surface, int flag, Uint32 key) {
    blockOf(surface)->keyed = flag != 0;
    blockOf(surface)->key = key;
    return 0;
}

int SDL_SetPalette(SDL_Surface* surface, int, const SDL_Color* colors, int first, int count) {
    SDL_Palette* palette = surface->format->palette;
    if (palette == nullptr || first < 0 || count < 0 || first + count > palette->ncolors) {
        return 0;
    }
    std::memcpy(palette->colors + first, colors, sizeof(SDL_Color) * std::size_t(count));
    return 1;
}

int SDL_SetColors(SDL_Surface* surface, const SDL_Color* colors, int first, int count) {
    return SDL_SetPalette(surface, 0, colors, first, count);
}

// Copies `source` onto `target` at `to`, both clipped; pixels of the source's
// colour key are left out. As in SDL, a source without an alpha channel
// lands opaque.
int SDL_UpperBlit(SDL_Surface* source, const SDL_Rect* from, SDL_Surface* target, SDL_Rect* to) {
    if (source == nullptr || target == nullptr) {
        SDL_SetError("SDL_UpperBlit: passed a NULL surface");
        return -1;
    }
    int sx = from != nullptr ? from->x : 0;
    int sy = from != nullptr ? from->y : 0;
    int w = from != nullptr ? from->w : source->w;
    int h = from != nullptr ? from->h : source->h;
    int dx = to != nullptr ? to->x : 0;
    int dy = to != nullptr ? to->y : 0;
    // Clip to the source, then to the target's clipping rectangle.
    if (sx < 0) {
        w += sx, dx -= sx, sx = 0;
    }
    if (sy < 0) {
        h += sy, dy -= sy, sy = 0;
    }
    w = w < source->w - sx ? w : source->w - sx;
    h = h < source->h - sy ? h : source->h - sy;
    const SDL_Rect& clip = target->clip_rect;
    if (dx < clip.x) {
        w -= clip.x - dx, sx += clip.x - dx, dx = clip.x;
    }
    if (dy < clip.y) {
        h -= clip.y - dy, sy += clip.y - dy, dy = clip.y;
    }
    w = w < clip.x + clip.w - dx ? w : clip.x + clip.w - dx;
    h = h < clip.y + clip.h - dy ? h : clip.y + clip.h - dy;
    if (to != nullptr) {
        to->x = dx;
        to->y = dy;
        to->w = w > 0 ? w : 0;
        to->h = h > 0 ? h : 0;
    }
    const Block* key = blockOf(source);
    const SDL_PixelFormat* sf = source->format;
    const SDL_PixelFormat* tf = target->format;
    for (int y = 0; y < h; ++y) {
        const Uint8* s = static_cast<const Uint8*>(source->pixels) + (sy + y) * source->pitch +
                         sx * sf->BytesPerPixel;
        Uint8* t =
            static_cast<Uint8*>(target->pixels) + (dy + y) * target->pitch + dx * tf->BytesPerPixel;
        for (int x = 0; x < w; ++x, s += sf->BytesPerPixel, t += tf->BytesPerPixel) {
            const Uint32 pixel = readPixel(s, sf->BytesPerPixel);
            if (key->keyed && pixel == key->key) {
                continue;
            }
            Uint8 rgba[4];
            toRGBA(sf, pixel, rgba);
            writePixel(t, tf->BytesPerPixel, fromRGBA(tf, rgba));
        }
    }
    return 0;
}

SDL_Surface* SDL_ConvertSurface(SDL_Surface* source, SDL_PixelFormat* format, Uint32 flags) {
    SDL_Surface* converted =
        SDL_CreateRGBSurface(flags, source->w, source->h, format->BitsPerPixel, format->Rmask,
                             format->Gmask, format->Bmask, format->Amask);
    if (converted == nullptr) {
        return nullptr;
    }
    if (format->palette != nullptr) {
        SDL_SetPalette(converted, 0, format->palette->colors, 0, format->palette->ncolors);
    }
    // Every pixel, the colour key's too: the key goes with the copy.
    Block* block = blockOf(source);
    const bool keyed = block->keyed;
    block->keyed = false;
    SDL_UpperBlit(source, nullptr, converted, nullptr);
    block->keyed = keyed;
    return converted;
}

} // extern "C"
