// Renders one text as the game's text renderer lays it out and writes where
// its glyphs are as a PGM picture on standard output: 255 for a glyph pixel,
// 0 elsewhere, over the renderer's whole (power-of-two) texture, so the
// end-to-end tests can look for exactly that text on the game's screen.
// A comment line in the header gives the text's own size: "# size W H".
//
//   render_line FONT POINTSIZE WIDTH < text
//
// WIDTH is the wrapping width in pixels; negative for one line.
#include "KZ/FontRenderer.h"

#include <SDL/SDL.h>
#include <SDL/SDL_ttf.h>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <iterator>
#include <string>

int main(int argc, char* argv[]) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: render_line FONT POINTSIZE WIDTH < text\n");
        return 2;
    }
    if (TTF_Init() != 0) {
        std::fprintf(stderr, "SDL_ttf: %s\n", TTF_GetError());
        return 1;
    }
    std::string text((std::istreambuf_iterator<char>(std::cin)), std::istreambuf_iterator<char>());
    // On the heap, so the font is closed before SDL_ttf shuts down.
    KZ_FontRenderer* renderer = new KZ_FontRenderer(argv[1], std::atoi(argv[2]));
    SDL_Surface* surface = renderer->renderTextToSDLSurface(text, std::atoi(argv[3]));
    if (surface == nullptr) {
        delete renderer;
        return 1;
    }
    SDL_LockSurface(surface);
    std::printf("P5\n# size %d %d\n%d %d\n255\n", renderer->getWidth(), renderer->getHeight(),
                surface->w, surface->h);
    for (int y = 0; y < surface->h; ++y) {
        const Uint32* row = reinterpret_cast<const Uint32*>(
            static_cast<const Uint8*>(surface->pixels) + y * surface->pitch);
        for (int x = 0; x < surface->w; ++x) {
            std::putchar((row[x] & surface->format->Amask) != 0 ? 255 : 0);
        }
    }
    SDL_UnlockSurface(surface);
    SDL_FreeSurface(surface);
    delete renderer;
    TTF_Quit();
    return 0;
}
