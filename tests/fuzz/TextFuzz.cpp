// Fuzz target for the compatibility SDL_ttf (compat/SDL_ttf.cpp, built as
// compat_TTF_*): any text, UTF-8 or Latin-1, malformed or not, in a few of
// Debian's fonts (outline, maths, bitmap-only) at any size from 6 to 96, must
// be measured and drawn without a crash, an overrun or undefined behaviour,
// and a line SDL can hold must be drawn at the size TTF_SizeUTF8/TTF_SizeText
// gave. A
// broken rule prints what broke and aborts, which the fuzzer reports.
//
// Input: [0] bits 0-1: the font, bits 2-3: the hinting, bit 4: no kerning,
// bits 5-6: the outline;
// [1] the size; [2] bit 0: Latin-1 (else UTF-8), bits 1-2: solid, shaded or
// blended, bits 4-7: the style; then the text.

#include "compat_renames.h"
// clang-format off
#include "../../compat/include/SDL/SDL_ttf.h"
// clang-format on
#include "compat_renames_end.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <utility>

namespace {

const char* const FONTS[] = {"res/Vera.ttf", "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
                             "/usr/share/fonts/truetype/dejavu/DejaVuMathTeXGyre.ttf",
                             "/usr/share/fonts/opentype/terminus/terminus-normal.otb"};

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "text: %s\n", what);
    std::abort();
}

// Fonts stay open across inputs: opening one is most of the cost.
TTF_Font* fontFor(unsigned which, int size) {
    static std::map<std::pair<unsigned, int>, TTF_Font*> fonts;
    const auto key = std::make_pair(which % (sizeof FONTS / sizeof FONTS[0]), size);
    const auto found = fonts.find(key);
    if (found != fonts.end()) {
        return found->second;
    }
    if (compat_TTF_Init() != 0) {
        fail("TTF_Init");
    }
    TTF_Font* font = compat_TTF_OpenFont(FONTS[key.first], size); // scripts/setup has them
    if (font == nullptr) {
        fail("a font that opens did not");
    }
    return fonts[key] = font;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) {
        return 0;
    }
    TTF_Font* font = fontFor(data[0] & 3, 6 + data[1] % 91);
    const bool latin1 = (data[2] & 1) != 0;
    const int kind = (data[2] >> 1) % 4; // 3: solid too
    compat_TTF_SetFontHinting(font, data[0] >> 2 & 3);
    compat_TTF_SetFontKerning(font, (data[0] & 16) == 0);
    compat_TTF_SetFontOutline(font, data[0] >> 5 & 3);
    compat_TTF_SetFontStyle(font, data[2] >> 4);
    const std::string text(reinterpret_cast<const char*>(data) + 3, size - 3);
    int w = -1, h = -1;
    const int sized = latin1 ? compat_TTF_SizeText(font, text.c_str(), &w, &h)
                             : compat_TTF_SizeUTF8(font, text.c_str(), &w, &h);
    if (sized == 0 && (w < 0 || h <= 0)) {
        fail("a negative or empty size");
    }
    const SDL_Color fg = {255, 255, 255, 0}, bg = {0, 0, 0, 0};
    const char* t = text.c_str();
    SDL_Surface* s = kind == 1   ? (latin1 ? compat_TTF_RenderText_Shaded(font, t, fg, bg)
                                           : compat_TTF_RenderUTF8_Shaded(font, t, fg, bg))
                     : kind == 2 ? (latin1 ? compat_TTF_RenderText_Blended(font, t, fg)
                                           : compat_TTF_RenderUTF8_Blended(font, t, fg))
                                 : (latin1 ? compat_TTF_RenderText_Solid(font, t, fg)
                                           : compat_TTF_RenderUTF8_Solid(font, t, fg));
    if (s == nullptr) {
        // SDL refuses surfaces 16384 pixels wide or more.
        if (sized == 0 && w > 0 && w < 16384) {
            fail("a line with a size was not drawn");
        }
        return 0;
    }
    if (s->w != w || s->h != h) {
        fail("the line drawn is not the size measured");
    }
    const bool solid = kind != 1 && kind != 2;
    for (int y = 0; y < s->h; ++y) {
        for (int x = 0; x < s->w * s->format->BytesPerPixel; ++x) {
            if (solid && static_cast<const Uint8*>(s->pixels)[y * s->pitch + x] > 1) {
                fail("a solid pixel neither background nor ink");
            }
        }
    }
    SDL_FreeSurface(s);
    return 0;
}
