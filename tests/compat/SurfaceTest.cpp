// compat/SDL_wasm.c, the page's SDL 1.2 surfaces, built natively against
// Emscripten's SDL headers: the sizes SDL 1.2 refuses are refused with its
// message, a surface always has pixels, and colours read back from 15 and
// 16-bit pixels are widened as SDL widens them (all ones is 255).

#include <SDL/SDL.h>
#include <gtest/gtest.h>

TEST(CompatWebSurface, RefusesWhatSdlRefusesAndAlwaysHasPixels) {
    const struct {
        int w, h;
        const char* error;
    } refused[] = {{16384, 65536, "Width or height is too large"},
                   {16384, 1, "Width or height is too large"},
                   {1, 65536, "Width or height is too large"},
                   {-1, 5, "Parameter 'width' is invalid"},
                   {5, -1, "Parameter 'height' is invalid"}};
    for (const auto& r : refused) {
        SDL_ClearError();
        EXPECT_EQ(nullptr, SDL_CreateRGBSurface(0, r.w, r.h, 32, 0, 0, 0, 0)) << r.w << "x" << r.h;
        EXPECT_STREQ(r.error, SDL_GetError());
    }
    for (int depth : {8, 15, 16, 24, 32}) {
        for (const auto& size : {std::make_pair(0, 0), std::make_pair(0, 7), std::make_pair(7, 0),
                                 std::make_pair(16383, 2), std::make_pair(1, 1)}) {
            SDL_Surface* s = SDL_CreateRGBSurface(0, size.first, size.second, depth, 0, 0, 0, 0);
            ASSERT_NE(nullptr, s) << depth << " " << size.first << "x" << size.second;
            EXPECT_NE(nullptr, s->pixels);
            EXPECT_EQ(size.first, s->w);
            EXPECT_GE(s->pitch, size.first * s->format->BytesPerPixel);
            if (s->h > 0 && s->w > 0) { // the last pixel is there to write
                static_cast<Uint8*>(s->pixels)[s->pitch * (s->h - 1) + s->w - 1] = 1;
            }
            SDL_FreeSurface(s);
        }
    }
    EXPECT_EQ(nullptr, SDL_CreateRGBSurfaceFrom(nullptr, 4, 4, 32, 16, 0, 0, 0, 0));
}

TEST(CompatWebSurface, WidensFifteenAndSixteenBitColoursAsSdl) {
    for (int depth : {15, 16}) {
        SDL_Surface* s = SDL_CreateRGBSurface(0, 1, 1, depth, 0, 0, 0, 0);
        ASSERT_NE(nullptr, s);
        Uint8 r = 0, g = 0, b = 0;
        SDL_GetRGB(SDL_MapRGB(s->format, 255, 255, 255), s->format, &r, &g, &b);
        EXPECT_EQ(0xFFFFFF, r << 16 | g << 8 | b); // white
        // Every 5-bit (and 6-bit green) value: its bits, then its top bits again.
        for (Uint32 v = 0; v < 32; ++v) {
            SDL_GetRGB(v << s->format->Rshift | v << s->format->Bshift, s->format, &r, &g, &b);
            EXPECT_EQ(Uint8(v << 3 | v >> 2), r) << depth << " " << v;
            EXPECT_EQ(r, b);
        }
        for (Uint32 v = 0; depth == 16 && v < 64; ++v) {
            SDL_GetRGB(v << s->format->Gshift, s->format, &r, &g, &b);
            EXPECT_EQ(Uint8(v << 2 | v >> 4), g) << v;
        }
        SDL_FreeSurface(s);
    }
}
