// Comparing what the compatibility libraries return with what Debian's
// SDL_image and SDL_ttf return: both NULL with the same message, or surfaces
// alike in every field a game can read.
#pragma once

#include <SDL/SDL.h>
#include <cstring>
#include <string>

// "" when a (the original's) and b (the compatibility library's) are the
// same; else what differs first.
inline std::string surfaceDifference(SDL_Surface* a, SDL_Surface* b, const std::string& aError,
                                     const std::string& bError) {
    if (a == nullptr || b == nullptr) {
        if (a != b) {
            return a == nullptr ? "only the original failed: " + aError
                                : "only the compatible one failed: " + bError;
        }
        return aError == bError ? "" : "messages: '" + aError + "' / '" + bError + "'";
    }
    const SDL_PixelFormat* fa = a->format;
    const SDL_PixelFormat* fb = b->format;
    const auto field = [](const char* name, long x, long y) {
        return x == y ? std::string()
                      : std::string(name) + " " + std::to_string(x) + " / " + std::to_string(y);
    };
    std::string d;
    for (const std::string& f :
         {field("w", a->w, b->w), field("h", a->h, b->h), field("flags", a->flags, b->flags),
          field("bpp", fa->BitsPerPixel, fb->BitsPerPixel), field("Rmask", fa->Rmask, fb->Rmask),
          field("Gmask", fa->Gmask, fb->Gmask), field("Bmask", fa->Bmask, fb->Bmask),
          field("Amask", fa->Amask, fb->Amask), field("colorkey", fa->colorkey, fb->colorkey),
          field("alpha", fa->alpha, fb->alpha),
          field("palette", fa->palette != nullptr, fb->palette != nullptr)}) {
        d += f.empty() || !d.empty() ? "" : f;
    }
    if (d.empty() && fa->palette != nullptr) {
        d = field("ncolors", fa->palette->ncolors, fb->palette->ncolors);
        if (d.empty() && std::memcmp(fa->palette->colors, fb->palette->colors,
                                     sizeof(SDL_Color) * std::size_t(fa->palette->ncolors)) != 0) {
            d = "palette colours";
        }
    }
    for (int y = 0; d.empty() && y < a->h; ++y) {
        if (std::memcmp(static_cast<Uint8*>(a->pixels) + y * a->pitch,
                        static_cast<Uint8*>(b->pixels) + y * b->pitch,
                        std::size_t(a->w) * fa->BytesPerPixel) != 0) {
            d = "pixels of row " + std::to_string(y);
        }
    }
    return d;
}
