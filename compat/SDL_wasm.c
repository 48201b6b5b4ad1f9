/*
 * The parts of SDL 1.2 that C libraries (SDL_image, SDL_ttf) and a C/C++
 * game need in the browser, compiled to wasm.
 *
 * Emscripten's SDL 1.2 is written in JavaScript and keeps surfaces on HTML
 * canvases: SDL_CreateRGBSurface always makes 32-bit surfaces without a
 * palette, locking copies the canvas over the pixels (losing what C code
 * wrote there), blits and conversions draw canvas on canvas, and
 * SDL_RWFromFile returns a handle rather than a struct that C code can read
 * through. Functions defined in wasm take precedence over the JavaScript
 * library's, so linking this file gives plain memory surfaces and stdio
 * streams with SDL 1.2's semantics:
 *
 * - SDL_RWops from files (stdio) and memory; SDL_Read/Write LE/BE helpers.
 * - Software surfaces of 8 (palette), 16, 24 and 32 bits; locking is a
 *   no-op (the pixels are always in memory); colour key and per-surface
 *   alpha; clipping; blits between any two of them (SDL 1.2's rules:
 *   colour key skips pixels, per-pixel alpha blends over the destination
 *   and keeps its alpha, otherwise pixels are copied); SDL_ConvertSurface;
 *   SDL_FillRect; SDL_MapRGB(A) and SDL_GetRGB(A) on these surfaces.
 * - SDL_SetError/SDL_GetError with the formatted message, so the messages
 *   of SDL_image and SDL_ttf reach the game.
 *
 * The screen surface stays the JavaScript library's (SDL_SetVideoMode with
 * SDL_OPENGL draws through WebGL); these functions are for the surfaces
 * the program makes itself and must not be given the screen.
 */
#include <SDL/SDL.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

/* --- Errors --------------------------------------------------------------- */

static char error_text[1024];

void SDL_SetError(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    vsnprintf(error_text, sizeof error_text, fmt, args);
    va_end(args);
}

const char* SDL_GetError(void) {
    return error_text;
}

void SDL_ClearError(void) {
    error_text[0] = '\0';
}

/* --- Streams -------------------------------------------------------------- */

SDL_RWops* SDL_AllocRW(void) {
    SDL_RWops* rw = (SDL_RWops*)calloc(1, sizeof(SDL_RWops));
    if (rw == NULL) {
        SDL_SetError("Out of memory");
    }
    return rw;
}

void SDL_FreeRW(SDL_RWops* rw) {
    free(rw);
}

/* Emscripten's SDL_RWops has no stdio member: the FILE sits in the generic
   slot and the type says whether closing the stream closes the file. */
enum { RW_STDIO = 0x57D10, RW_STDIO_AUTOCLOSE = 0x57D11 };

static FILE* file_of(SDL_RWops* rw) {
    return (FILE*)rw->hidden.unknown.data1;
}

static long stdio_seek(SDL_RWops* rw, long offset, int whence) {
    if (fseek(file_of(rw), offset, whence) != 0) {
        SDL_SetError("Error seeking in datastream");
        return -1;
    }
    return ftell(file_of(rw));
}

static size_t stdio_read(SDL_RWops* rw, void* ptr, size_t size, size_t n) {
    size_t done = fread(ptr, size, n, file_of(rw));
    if (done == 0 && ferror(file_of(rw))) {
        SDL_SetError("Error reading from datastream");
    }
    return done;
}

static size_t stdio_write(SDL_RWops* rw, const void* ptr, size_t size, size_t n) {
    size_t done = fwrite(ptr, size, n, file_of(rw));
    if (done == 0 && ferror(file_of(rw))) {
        SDL_SetError("Error writing to datastream");
    }
    return done;
}

static int stdio_close(SDL_RWops* rw) {
    int status = 0;
    if (rw->type == RW_STDIO_AUTOCLOSE && fclose(file_of(rw)) != 0) {
        SDL_SetError("Error writing to datastream");
        status = -1;
    }
    SDL_FreeRW(rw);
    return status;
}

SDL_RWops* SDL_RWFromFP(void* fp, SDL_bool autoclose) {
    SDL_RWops* rw = SDL_AllocRW();
    if (rw != NULL) {
        rw->seek = stdio_seek;
        rw->read = stdio_read;
        rw->write = stdio_write;
        rw->close = stdio_close;
        rw->hidden.unknown.data1 = fp;
        rw->type = autoclose ? RW_STDIO_AUTOCLOSE : RW_STDIO;
    }
    return rw;
}

SDL_RWops* SDL_RWFromFile(const char* file, const char* mode) {
    if (file == NULL || *file == '\0' || mode == NULL || *mode == '\0') {
        SDL_SetError("SDL_RWFromFile(): No file or no mode specified");
        return NULL;
    }
    FILE* fp = fopen(file, mode);
    if (fp == NULL) {
        SDL_SetError("Couldn't open %s", file);
        return NULL;
    }
    SDL_RWops* rw = SDL_RWFromFP(fp, SDL_TRUE);
    if (rw == NULL) {
        fclose(fp);
    }
    return rw;
}

static long mem_seek(SDL_RWops* rw, long offset, int whence) {
    Uint8* base = rw->hidden.mem.base;
    Uint8* at = whence == RW_SEEK_SET   ? base + offset
                : whence == RW_SEEK_CUR ? rw->hidden.mem.here + offset
                                        : rw->hidden.mem.stop + offset;
    if (at < base) {
        at = base;
    }
    if (at > rw->hidden.mem.stop) {
        at = rw->hidden.mem.stop;
    }
    rw->hidden.mem.here = at;
    return (long)(at - base);
}

static size_t mem_read(SDL_RWops* rw, void* ptr, size_t size, size_t n) {
    size_t left = (size_t)(rw->hidden.mem.stop - rw->hidden.mem.here);
    if (size == 0) {
        return 0;
    }
    if (n > left / size) {
        n = left / size;
    }
    memcpy(ptr, rw->hidden.mem.here, n * size);
    rw->hidden.mem.here += n * size;
    return n;
}

static size_t mem_write(SDL_RWops* rw, const void* ptr, size_t size, size_t n) {
    size_t left = (size_t)(rw->hidden.mem.stop - rw->hidden.mem.here);
    if (size == 0) {
        return 0;
    }
    if (n > left / size) {
        n = left / size;
    }
    memcpy(rw->hidden.mem.here, ptr, n * size);
    rw->hidden.mem.here += n * size;
    return n;
}

static size_t mem_write_const(SDL_RWops* rw, const void* ptr, size_t size, size_t n) {
    (void)rw;
    (void)ptr;
    (void)size;
    (void)n;
    SDL_SetError("Can't write to read-only memory");
    return 0;
}

static int mem_close(SDL_RWops* rw) {
    SDL_FreeRW(rw);
    return 0;
}

SDL_RWops* SDL_RWFromMem(void* mem, int size) {
    SDL_RWops* rw = SDL_AllocRW();
    if (rw != NULL) {
        rw->seek = mem_seek;
        rw->read = mem_read;
        rw->write = mem_write;
        rw->close = mem_close;
        rw->hidden.mem.base = rw->hidden.mem.here = (Uint8*)mem;
        rw->hidden.mem.stop = (Uint8*)mem + size;
    }
    return rw;
}

SDL_RWops* SDL_RWFromConstMem(const void* mem, int size) {
    SDL_RWops* rw = SDL_RWFromMem((void*)mem, size);
    if (rw != NULL) {
        rw->write = mem_write_const;
    }
    return rw;
}

#define READ_WRITE(bits, order, swap)                                                              \
    Uint##bits SDL_Read##order##bits(SDL_RWops* src) {                                             \
        Uint##bits value = 0;                                                                      \
        SDL_RWread(src, &value, sizeof value, 1);                                                  \
        return swap(value);                                                                        \
    }                                                                                              \
    size_t SDL_Write##order##bits(SDL_RWops* dst, Uint##bits value) {                              \
        value = swap(value);                                                                       \
        return SDL_RWwrite(dst, &value, sizeof value, 1);                                          \
    }
READ_WRITE(16, LE, SDL_SwapLE16)
READ_WRITE(16, BE, SDL_SwapBE16)
READ_WRITE(32, LE, SDL_SwapLE32)
READ_WRITE(32, BE, SDL_SwapBE32)
READ_WRITE(64, LE, SDL_SwapLE64)
READ_WRITE(64, BE, SDL_SwapBE64)

/* --- Surfaces ------------------------------------------------------------- */

/* What SDL 1.2 kept in the pixel format and this SDL_Surface lacks. */
typedef struct {
    SDL_Surface surface;
    SDL_PixelFormat format;
    SDL_Palette palette;
    SDL_Color colors[256];
    Uint32 colorkey;
    Uint8 alpha;
    int owns_pixels;
} Surface;

static Surface* extra(SDL_Surface* s) {
    return (Surface*)s;
}

static void mask_shift_loss(Uint32 mask, Uint8* shift, Uint8* loss) {
    *shift = 0;
    *loss = 8;
    if (mask != 0) {
        for (; (mask & 1) == 0; mask >>= 1) {
            ++*shift;
        }
        for (; (mask & 1) != 0; mask >>= 1) {
            --*loss;
        }
    }
}

static SDL_Surface* make_surface(Uint32 flags, int w, int h, int depth, Uint32 rmask, Uint32 gmask,
                                 Uint32 bmask, Uint32 amask, void* pixels, int pitch) {
    /* SDL 1.2's limits for the surfaces it allocates: its pitch is 16 bits
       wide. Pixels a caller brings need only be there. */
    if (pixels == NULL && (w >= 16384 || h >= 65536)) {
        SDL_SetError("Width or height is too large");
        return NULL;
    }
    if (w < 0 || h < 0) {
        SDL_SetError("Parameter '%s' is invalid", w < 0 ? "width" : "height");
        return NULL;
    }
    if (pixels == NULL && (flags & SDL_PREALLOC) != 0) {
        SDL_SetError("No pixels given");
        return NULL;
    }
    if (depth != 8 && depth != 15 && depth != 16 && depth != 24 && depth != 32) {
        SDL_SetError("Unsupported pixel depth %d", depth);
        return NULL;
    }
    Surface* s = (Surface*)calloc(1, sizeof(Surface));
    if (s == NULL) {
        SDL_SetError("Out of memory");
        return NULL;
    }
    SDL_PixelFormat* f = &s->format;
    f->BitsPerPixel = (Uint8)depth;
    f->BytesPerPixel = (Uint8)((depth + 7) / 8);
    f->refcount = 1;
    if (depth == 8) {
        /* SDL 1.2 starts an 8-bit palette as a grey ramp from black. */
        f->palette = &s->palette;
        s->palette.ncolors = 256;
        s->palette.colors = s->colors;
        s->palette.refcount = 1;
        for (int i = 0; i < 256; ++i) {
            s->colors[i].r = s->colors[i].g = s->colors[i].b = (Uint8)i;
        }
        f->Rloss = f->Gloss = f->Bloss = f->Aloss = 8;
    } else {
        if (rmask == 0 && gmask == 0 && bmask == 0) {
            /* SDL 1.2's defaults for a surface without masks. */
            if (depth == 16) {
                rmask = 0xF800, gmask = 0x07E0, bmask = 0x001F;
            } else if (depth == 15) {
                rmask = 0x7C00, gmask = 0x03E0, bmask = 0x001F;
            } else {
                rmask = 0xFF0000, gmask = 0x00FF00, bmask = 0x0000FF;
            }
        }
        f->Rmask = rmask, f->Gmask = gmask, f->Bmask = bmask, f->Amask = amask;
        mask_shift_loss(rmask, &f->Rshift, &f->Rloss);
        mask_shift_loss(gmask, &f->Gshift, &f->Gloss);
        mask_shift_loss(bmask, &f->Bshift, &f->Bloss);
        mask_shift_loss(amask, &f->Ashift, &f->Aloss);
    }
    SDL_Surface* surface = &s->surface;
    surface->flags = flags & ~(Uint32)(SDL_SRCCOLORKEY | SDL_SRCALPHA | SDL_PREALLOC);
    if (amask != 0) {
        surface->flags |= SDL_SRCALPHA;
    }
    surface->format = f;
    surface->w = w;
    surface->h = h;
    surface->refcount = 1;
    surface->clip_rect.w = w;
    surface->clip_rect.h = h;
    s->alpha = 255;
    if (pixels != NULL) {
        surface->pixels = pixels;
        surface->pitch = pitch;
        surface->flags |= SDL_PREALLOC;
    } else {
        /* Rows padded to 4 bytes, as SDL 1.2 does; pixels even for an empty
           surface, so that no caller ever gets a surface without them. */
        surface->pitch = (w * f->BytesPerPixel + 3) & ~3;
        size_t rows = h > 0 ? (size_t)h : 1, row = surface->pitch > 0 ? (size_t)surface->pitch : 4;
        surface->pixels = calloc(rows, row);
        if (surface->pixels == NULL) {
            free(s);
            SDL_SetError("Out of memory");
            return NULL;
        }
        s->owns_pixels = 1;
    }
    return surface;
}

SDL_Surface* SDL_CreateRGBSurface(Uint32 flags, int w, int h, int depth, Uint32 rmask, Uint32 gmask,
                                  Uint32 bmask, Uint32 amask) {
    return make_surface(flags, w, h, depth, rmask, gmask, bmask, amask, NULL, 0);
}

SDL_Surface* SDL_CreateRGBSurfaceFrom(void* pixels, int w, int h, int depth, int pitch,
                                      Uint32 rmask, Uint32 gmask, Uint32 bmask, Uint32 amask) {
    return make_surface(SDL_PREALLOC, w, h, depth, rmask, gmask, bmask, amask, pixels, pitch);
}

void SDL_FreeSurface(SDL_Surface* surface) {
    if (surface == NULL || --surface->refcount > 0) {
        return;
    }
    if (extra(surface)->owns_pixels) {
        free(surface->pixels);
    }
    free(surface);
}

int SDL_LockSurface(SDL_Surface* surface) {
    ++surface->locked;
    return 0;
}

void SDL_UnlockSurface(SDL_Surface* surface) {
    if (surface->locked > 0) {
        --surface->locked;
    }
}

int SDL_SetColorKey(SDL_Surface* surface, int flag, Uint32 key) {
    if (flag != 0) {
        surface->flags |= SDL_SRCCOLORKEY;
        extra(surface)->colorkey = key;
    } else {
        surface->flags &= ~(Uint32)SDL_SRCCOLORKEY;
    }
    return 0;
}

int SDL_SetAlpha(SDL_Surface* surface, Uint32 flag, Uint8 alpha) {
    if (flag & SDL_SRCALPHA) {
        surface->flags |= SDL_SRCALPHA;
        extra(surface)->alpha = alpha;
    } else {
        surface->flags &= ~(Uint32)SDL_SRCALPHA;
        extra(surface)->alpha = 255;
    }
    return 0;
}

int SDL_SetColors(SDL_Surface* surface, const SDL_Color* colors, int first, int n) {
    SDL_Palette* palette = surface->format->palette;
    if (palette == NULL || first < 0 || first >= palette->ncolors) {
        return 0;
    }
    if (n > palette->ncolors - first) {
        n = palette->ncolors - first;
    }
    memcpy(palette->colors + first, colors, (size_t)n * sizeof(SDL_Color));
    return 1;
}

int SDL_SetPalette(SDL_Surface* surface, int flags, const SDL_Color* colors, int first, int n) {
    (void)flags;
    return SDL_SetColors(surface, colors, first, n);
}

Uint32 SDL_MapRGBA(const SDL_PixelFormat* f, Uint8 r, Uint8 g, Uint8 b, Uint8 a) {
    if (f->palette != NULL) {
        /* The nearest palette entry. */
        int best = 0;
        long best_distance = -1;
        for (int i = 0; i < f->palette->ncolors; ++i) {
            const SDL_Color* c = &f->palette->colors[i];
            long dr = c->r - r, dg = c->g - g, db = c->b - b;
            long distance = dr * dr + dg * dg + db * db;
            if (best_distance < 0 || distance < best_distance) {
                best = i;
                best_distance = distance;
            }
        }
        return (Uint32)best;
    }
    return (Uint32)(r >> f->Rloss) << f->Rshift | (Uint32)(g >> f->Gloss) << f->Gshift |
           (Uint32)(b >> f->Bloss) << f->Bshift | ((Uint32)(a >> f->Aloss) << f->Ashift & f->Amask);
}

Uint32 SDL_MapRGB(const SDL_PixelFormat* f, Uint8 r, Uint8 g, Uint8 b) {
    return SDL_MapRGBA(f, r, g, b, 255);
}

/* Widens a channel of 8 - loss bits to 8 bits by repeating its bits, as SDL
   does: 5 bits of ones are 255, not 248. */
static Uint8 channel(Uint32 pixel, Uint32 mask, Uint8 shift, Uint8 loss) {
    Uint32 v = (pixel & mask) >> shift;
    int bits = 8 - loss;
    if (bits <= 0) {
        return 0;
    }
    Uint32 wide = v << loss;
    for (int at = loss - bits; at > -bits; at -= bits) {
        wide |= at >= 0 ? v << at : v >> -at;
    }
    return (Uint8)wide;
}

void SDL_GetRGBA(Uint32 pixel, const SDL_PixelFormat* f, Uint8* r, Uint8* g, Uint8* b, Uint8* a) {
    if (f->palette != NULL) {
        const SDL_Color* c = &f->palette->colors[pixel & 0xFF];
        *r = c->r, *g = c->g, *b = c->b, *a = 255;
        return;
    }
    *r = channel(pixel, f->Rmask, f->Rshift, f->Rloss);
    *g = channel(pixel, f->Gmask, f->Gshift, f->Gloss);
    *b = channel(pixel, f->Bmask, f->Bshift, f->Bloss);
    *a = f->Amask != 0 ? channel(pixel, f->Amask, f->Ashift, f->Aloss) : 255;
}

void SDL_GetRGB(Uint32 pixel, const SDL_PixelFormat* f, Uint8* r, Uint8* g, Uint8* b) {
    Uint8 a;
    SDL_GetRGBA(pixel, f, r, g, b, &a);
}

static Uint32 get_pixel(const SDL_Surface* s, int x, int y) {
    const Uint8* p = (const Uint8*)s->pixels + y * s->pitch + x * s->format->BytesPerPixel;
    switch (s->format->BytesPerPixel) {
    case 1:
        return *p;
    case 2:
        return *(const Uint16*)p;
    case 3:
        return (Uint32)p[0] | (Uint32)p[1] << 8 | (Uint32)p[2] << 16;
    default:
        return *(const Uint32*)p;
    }
}

static void put_pixel(SDL_Surface* s, int x, int y, Uint32 v) {
    Uint8* p = (Uint8*)s->pixels + y * s->pitch + x * s->format->BytesPerPixel;
    switch (s->format->BytesPerPixel) {
    case 1:
        *p = (Uint8)v;
        break;
    case 2:
        *(Uint16*)p = (Uint16)v;
        break;
    case 3:
        p[0] = (Uint8)v, p[1] = (Uint8)(v >> 8), p[2] = (Uint8)(v >> 16);
        break;
    default:
        *(Uint32*)p = v;
        break;
    }
}

/* Clips r to the rectangle (0, 0, w, h)-like box b; false when empty. */
static int intersect(const SDL_Rect* a, const SDL_Rect* b, SDL_Rect* out) {
    int x0 = a->x > b->x ? a->x : b->x;
    int y0 = a->y > b->y ? a->y : b->y;
    int x1 = a->x + a->w < b->x + b->w ? a->x + a->w : b->x + b->w;
    int y1 = a->y + a->h < b->y + b->h ? a->y + a->h : b->y + b->h;
    out->x = x0, out->y = y0, out->w = x1 - x0, out->h = y1 - y0;
    return out->w > 0 && out->h > 0;
}

SDL_bool SDL_SetClipRect(SDL_Surface* surface, const SDL_Rect* rect) {
    SDL_Rect whole = {0, 0, surface->w, surface->h};
    if (rect == NULL) {
        surface->clip_rect = whole;
        return SDL_TRUE;
    }
    if (!intersect(rect, &whole, &surface->clip_rect)) {
        surface->clip_rect.w = surface->clip_rect.h = 0;
        return SDL_FALSE;
    }
    return SDL_TRUE;
}

void SDL_GetClipRect(SDL_Surface* surface, SDL_Rect* rect) {
    *rect = surface->clip_rect;
}

/* Blits an already clipped rectangle of the same size. */
int SDL_LowerBlit(SDL_Surface* src, SDL_Rect* srcrect, SDL_Surface* dst, SDL_Rect* dstrect) {
    const SDL_PixelFormat* sf = src->format;
    const SDL_PixelFormat* df = dst->format;
    int keyed = (src->flags & SDL_SRCCOLORKEY) != 0;
    Uint32 key = extra(src)->colorkey;
    int blend = (src->flags & SDL_SRCALPHA) != 0;
    Uint8 surface_alpha = extra(src)->alpha;
    for (int y = 0; y < srcrect->h; ++y) {
        for (int x = 0; x < srcrect->w; ++x) {
            Uint32 pixel = get_pixel(src, srcrect->x + x, srcrect->y + y);
            if (keyed && pixel == key) {
                continue;
            }
            Uint8 r, g, b, a;
            SDL_GetRGBA(pixel, sf, &r, &g, &b, &a);
            int dx = dstrect->x + x, dy = dstrect->y + y;
            if (blend) {
                /* Over the destination, whose own alpha stays. */
                unsigned alpha = sf->Amask != 0 ? a : surface_alpha;
                Uint8 dr, dg, db, da;
                SDL_GetRGBA(get_pixel(dst, dx, dy), df, &dr, &dg, &db, &da);
                r = (Uint8)((r * alpha + dr * (255 - alpha)) / 255);
                g = (Uint8)((g * alpha + dg * (255 - alpha)) / 255);
                b = (Uint8)((b * alpha + db * (255 - alpha)) / 255);
                a = da;
            }
            put_pixel(dst, dx, dy, SDL_MapRGBA(df, r, g, b, a));
        }
    }
    return 0;
}

int SDL_UpperBlit(SDL_Surface* src, const SDL_Rect* srcrect, SDL_Surface* dst, SDL_Rect* dstrect) {
    if (src == NULL || dst == NULL) {
        SDL_SetError("SDL_UpperBlit: passed a NULL surface");
        return -1;
    }
    SDL_Rect whole = {0, 0, src->w, src->h};
    SDL_Rect from;
    if (srcrect == NULL) {
        from = whole;
    } else if (!intersect(srcrect, &whole, &from)) {
        from.w = from.h = 0;
    }
    /* Source clipping moves the destination along with it. */
    int dx = (dstrect != NULL ? dstrect->x : 0) + (from.x - (srcrect != NULL ? srcrect->x : 0));
    int dy = (dstrect != NULL ? dstrect->y : 0) + (from.y - (srcrect != NULL ? srcrect->y : 0));
    SDL_Rect to = {dx, dy, from.w, from.h};
    SDL_Rect clipped;
    if (from.w <= 0 || from.h <= 0 || !intersect(&to, &dst->clip_rect, &clipped)) {
        if (dstrect != NULL) {
            dstrect->w = dstrect->h = 0;
        }
        return 0;
    }
    from.x += clipped.x - to.x;
    from.y += clipped.y - to.y;
    from.w = clipped.w;
    from.h = clipped.h;
    if (dstrect != NULL) {
        *dstrect = clipped;
    }
    return SDL_LowerBlit(src, &from, dst, &clipped);
}

SDL_Surface* SDL_ConvertSurface(SDL_Surface* src, SDL_PixelFormat* fmt, Uint32 flags) {
    SDL_Surface* out = SDL_CreateRGBSurface(flags, src->w, src->h, fmt->BitsPerPixel, fmt->Rmask,
                                            fmt->Gmask, fmt->Bmask, fmt->Amask);
    if (out == NULL) {
        return NULL;
    }
    if (fmt->palette != NULL && out->format->palette != NULL) {
        SDL_SetColors(out, fmt->palette->colors, 0, fmt->palette->ncolors);
    }
    /* As SDL 1.2: copy alpha into an alpha format rather than blending, and
       leave colour-keyed pixels out (transparent) when the target has alpha;
       otherwise the target keeps the colour key. */
    Uint32 saved = src->flags;
    if (fmt->Amask != 0) {
        src->flags &= ~(Uint32)SDL_SRCALPHA;
    } else {
        src->flags &= ~(Uint32)(SDL_SRCALPHA | SDL_SRCCOLORKEY);
    }
    SDL_Rect all = {0, 0, src->w, src->h};
    SDL_LowerBlit(src, &all, out, &all);
    src->flags = saved;
    if ((saved & SDL_SRCCOLORKEY) && fmt->Amask == 0) {
        Uint8 r, g, b, a;
        SDL_GetRGBA(extra(src)->colorkey, src->format, &r, &g, &b, &a);
        SDL_SetColorKey(out, 1, SDL_MapRGB(out->format, r, g, b));
    }
    return out;
}

int SDL_FillRect(SDL_Surface* dst, const SDL_Rect* rect, Uint32 color) {
    SDL_Rect area;
    if (rect == NULL) {
        area = dst->clip_rect;
    } else if (!intersect(rect, &dst->clip_rect, &area)) {
        return 0;
    }
    for (int y = area.y; y < area.y + area.h; ++y) {
        for (int x = area.x; x < area.x + area.w; ++x) {
            put_pixel(dst, x, y, color);
        }
    }
    return 0;
}
