// compat/SDL_ttf.cpp, built here as compat_TTF_*, against Debian's SDL_ttf:
// fonts Debian ships (proportional and monospace, sans and serif, a maths font
// whose ink goes below its descent, a bitmap-only font) and fonts with grey
// embedded bitmaps, at sizes 6 to 96; texts in Latin-1, UTF-8 and UCS-2 with
// combining marks, glyphs the fonts lack, byte-order marks and malformed
// UTF-8; every style, hinting and kerning. Sizes, metrics and surfaces of
// every kind must be the same, and so must initialisation counting and failures.

#include "Surfaces.h"

#include <SDL/SDL_ttf.h>
#include <gtest/gtest.h>
#include <unistd.h>

// compat's SDL_ttf.h too, every function in it named compat_TTF_*.
#undef _SDL_TTF_H
#include "compat_renames.h"
// clang-format off
#include "../../compat/include/SDL/SDL_ttf.h"
// clang-format on
#include "compat_renames_end.h"

namespace {

const char* const FONTS[] = {
    "res/Vera.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSerif-Italic.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuMathTeXGyre.ttf",
    "/usr/share/fonts/truetype/freefont/FreeSerif.ttf",
    "/usr/share/fonts/truetype/freefont/FreeMono.ttf",
    "/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf",
    "/usr/share/fonts/truetype/liberation2/LiberationMono-Regular.ttf",
    // Bitmaps only: the size picks a strike.
    "/usr/share/fonts/opentype/terminus/terminus-normal.otb",
    // Grey bitmaps of 2 and 4 bits at 16 pixels per em (tests/CMakeLists.txt).
    GREY_FONTS_DIR "/grey2.ttf",
    GREY_FONTS_DIR "/grey4.ttf",
};

// The game's kinds of text (accents, ñ, ¿), kerning pairs, letters with ink
// left of the pen or below the descent, blanks at either end, Latin-1
// letters, combining marks (also first), glyphs no font here has (CJK, an
// emoji beyond 16 bits), malformed and unusual UTF-8: lone continuation and
// lead bytes, a sequence cut short, an overlong NUL, byte-order marks.
// clang-format off
const char* const TEXTS[] = {
    "Empezar", "Lamento haberlo hecho venir de improviso, pero este caso lo amerita",
    "¿Hay alguien viviendo ahi dentro?", "jajaja AV Wa Tj yy gjpqy", " leading and trailing ",
    " ", "", "ÀÉÎÕÜÑÇ àéîõüñç ¡¿ßøÿ", "e\xcc\x81 a\xcc\x88\xcc\xa3", "\xcc\x81x",
    "\xe4\xb8\xad\xe6\x96\x87 \xf0\x9f\x98\x80", "bad \xff byte", "x\x80y", "cut \xe2\x82",
    "a\xc0\x80\x62", "\xef\xbb\xbfjo", "\xef\xbf\xbeswapped"};
// clang-format on

// Latin-1 bytes, for TTF_SizeText and TTF_RenderText_*.
const char* const LATIN1[] = {"caf\xe9 \xf1\x61nd\xfa \xbfqu\xe9?", "\xff\xfe\xfd", "plain"};

// One kind of text's functions: the original's ([0]) and the compatible ones.
template <typename T> struct Api {
    int (*size)(TTF_Font*, T, int*, int*);
    SDL_Surface* (*solid)(TTF_Font*, T, SDL_Color);
    SDL_Surface* (*shaded)(TTF_Font*, T, SDL_Color, SDL_Color);
    SDL_Surface* (*blended)(TTF_Font*, T, SDL_Color);
};
#define API(T, name, size, compatSize)                                                             \
    const Api<T> name[] = {                                                                        \
        {size, TTF_Render##name##_Solid, TTF_Render##name##_Shaded, TTF_Render##name##_Blended},   \
        {compatSize, compat_TTF_Render##name##_Solid, compat_TTF_Render##name##_Shaded,            \
         compat_TTF_Render##name##_Blended}};
API(const char*, Text, TTF_SizeText, compat_TTF_SizeText)
API(const char*, UTF8, TTF_SizeUTF8, compat_TTF_SizeUTF8)
API(const Uint16*, UNICODE, TTF_SizeUNICODE, compat_TTF_SizeUNICODE)
API(Uint16, Glyph, nullptr, nullptr)

// "" when a's sizes and surfaces of every kind match b's.
template <typename T> std::string compareText(TTF_Font* a, TTF_Font* b, T text, const Api<T>* api) {
    int w1 = -1, h1 = -1, w2 = -1, h2 = -1;
    if (api[0].size != nullptr &&
        (api[0].size(a, text, &w1, &h1) != api[1].size(b, text, &w2, &h2) || w1 != w2 ||
         h1 != h2)) {
        return "size " + std::to_string(w1) + "x" + std::to_string(h1) + " / " +
               std::to_string(w2) + "x" + std::to_string(h2);
    }
    const SDL_Color fg = {200, 30, 90, 0}, bg = {10, 250, 20, 0};
    for (const char* kind : {"solid", "shaded", "blended"}) {
        SDL_Surface* s[2];
        std::string e[2];
        for (int i = 0; i < 2; ++i) {
            s[i] = kind[1] == 'o'   ? api[i].solid(i == 0 ? a : b, text, fg)
                   : kind[1] == 'h' ? api[i].shaded(i == 0 ? a : b, text, fg, bg)
                                    : api[i].blended(i == 0 ? a : b, text, fg);
            e[i] = SDL_GetError();
        }
        const std::string d = surfaceDifference(s[0], s[1], e[0], e[1]);
        SDL_FreeSurface(s[0]);
        SDL_FreeSurface(s[1]);
        if (!d.empty()) {
            return std::string(kind) + ": " + d;
        }
    }
    return "";
}

class CompatText : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(0, SDL_Init(0));
        ASSERT_EQ(0, TTF_Init());
        ASSERT_EQ(0, compat_TTF_Init());
    }
    void TearDown() override {
        TTF_Quit();
        compat_TTF_Quit();
        SDL_Quit();
    }
};

} // namespace

TEST_F(CompatText, MeasuresAndDrawsEveryTextAsSdlTtf) {
    for (const char* file : FONTS) {
        if (access(file, R_OK) != 0) {
            ADD_FAILURE() << file << " is missing: scripts/setup installs it";
            continue;
        }
        for (int size : {6, 7, 9, 12, 16, 18, 24, 33, 48, 72, 96}) {
            TTF_Font* a = TTF_OpenFont(file, size);
            TTF_Font* b = compat_TTF_OpenFont(file, size);
            ASSERT_NE(nullptr, a) << file;
            ASSERT_NE(nullptr, b) << file << " " << SDL_GetError();
            const std::string where = std::string(file) + " " + std::to_string(size) + ": ";
            EXPECT_EQ(TTF_FontHeight(a), compat_TTF_FontHeight(b)) << where;
            EXPECT_EQ(TTF_FontAscent(a), compat_TTF_FontAscent(b)) << where;
            EXPECT_EQ(TTF_FontDescent(a), compat_TTF_FontDescent(b)) << where;
            EXPECT_EQ(TTF_FontLineSkip(a), compat_TTF_FontLineSkip(b)) << where;
            for (const char* text : TEXTS) {
                EXPECT_EQ("", compareText(a, b, text, UTF8)) << where << text;
            }
            for (const char* text : LATIN1) {
                EXPECT_EQ("", compareText(a, b, text, Text)) << where << text;
            }
            TTF_CloseFont(a);
            compat_TTF_CloseFont(b);
        }
    }
}

TEST_F(CompatText, AnswersEverythingElseAsSdlTtf) {
    // UCS-2 with marks, a missing glyph, byte-order marks; single glyphs.
    const Uint16 ucs2[][6] = {{'A', 'V', 0x301, 'j', 0x4E2D, 0}, {0xFFFE, 0x4100, 0x6A00, 0}, {0}};
    const Uint16 glyphs[] = {'A', 'j', 0x301, 0x4E2D, 0xFEFF, ' ', 0};
    for (const char* file : {FONTS[0], FONTS[2], FONTS[3], FONTS[9], FONTS[10]}) {
        for (int size : {9, 16, 33}) {
            TTF_Font* a = TTF_OpenFont(file, size);
            TTF_Font* b = compat_TTF_OpenFont(file, size);
            ASSERT_NE(nullptr, b) << file;
            const std::string where = std::string(file) + " " + std::to_string(size) + ": ";
            EXPECT_EQ(TTF_FontFaces(a), compat_TTF_FontFaces(b)) << where;
            EXPECT_EQ(TTF_FontFaceIsFixedWidth(a), compat_TTF_FontFaceIsFixedWidth(b)) << where;
            EXPECT_STREQ(TTF_FontFaceFamilyName(a), compat_TTF_FontFaceFamilyName(b)) << where;
            EXPECT_STREQ(TTF_FontFaceStyleName(a), compat_TTF_FontFaceStyleName(b)) << where;
            // Every style (bold 1, italic 2, underline 4, strikethrough 8), with
            // each hinting, kerning or not.
            for (int mode = 0; mode < 16; ++mode) {
                TTF_SetFontStyle(a, mode);
                compat_TTF_SetFontStyle(b, mode);
                TTF_SetFontHinting(a, mode % 4);
                compat_TTF_SetFontHinting(b, mode % 4);
                TTF_SetFontKerning(a, mode / 4 % 2);
                compat_TTF_SetFontKerning(b, mode / 4 % 2);
                TTF_SetFontOutline(a, mode % 3);
                compat_TTF_SetFontOutline(b, mode % 3);
                EXPECT_EQ(TTF_GetFontStyle(a), compat_TTF_GetFontStyle(b));
                EXPECT_EQ(TTF_GetFontHinting(a), compat_TTF_GetFontHinting(b));
                EXPECT_EQ(TTF_GetFontKerning(a), compat_TTF_GetFontKerning(b));
                const std::string how = where + "mode " + std::to_string(mode) + ": ";
                for (const char* text : {TEXTS[1], TEXTS[3], TEXTS[8]}) {
                    EXPECT_EQ("", compareText(a, b, text, UTF8)) << how << text;
                }
                for (const Uint16* text : ucs2) {
                    EXPECT_EQ("", compareText(a, b, text, UNICODE)) << how << text[0];
                }
                for (const Uint16 ch : glyphs) {
                    int m[2][5] = {};
                    EXPECT_EQ(TTF_GlyphMetrics(a, ch, m[0], m[0] + 1, m[0] + 2, m[0] + 3, m[0] + 4),
                              compat_TTF_GlyphMetrics(b, ch, m[1], m[1] + 1, m[1] + 2, m[1] + 3,
                                                      m[1] + 4));
                    EXPECT_EQ(0, std::memcmp(m[0], m[1], sizeof m[0])) << how << ch;
                    EXPECT_EQ(TTF_GlyphIsProvided(a, ch), compat_TTF_GlyphIsProvided(b, ch));
                    EXPECT_EQ("", compareText(a, b, ch, Glyph)) << how << ch;
                }
            }
            TTF_CloseFont(a);
            compat_TTF_CloseFont(b);
        }
    }
}

TEST_F(CompatText, CountsInitialisationAndFailsAsSdlTtf) {
    // Twice initialised, once quit: still initialised.
    ASSERT_EQ(0, TTF_Init());
    ASSERT_EQ(0, compat_TTF_Init());
    TTF_Quit();
    compat_TTF_Quit();
    EXPECT_EQ(TTF_WasInit(), compat_TTF_WasInit());
    TTF_Font* font = compat_TTF_OpenFont("res/Vera.ttf", 12);
    int w = -1; // a NULL text is an empty one (SDL_ttf crashes)
    EXPECT_EQ(0, compat_TTF_SizeUTF8(font, nullptr, &w, nullptr) + w);
    compat_TTF_CloseFont(font);

    const auto opening = [](const char* file, int size) {
        SDL_ClearError();
        TTF_Font* a = TTF_OpenFont(file, size);
        const std::string e1 = SDL_GetError();
        SDL_ClearError();
        TTF_Font* b = compat_TTF_OpenFont(file, size);
        const std::string e2 = SDL_GetError();
        const bool same = (a == nullptr) == (b == nullptr) && (a != nullptr || e1 == e2);
        TTF_CloseFont(a);
        compat_TTF_CloseFont(b);
        return same ? std::string() : std::string(file) + ": '" + e1 + "' / '" + e2 + "'";
    };
    for (const char* file : {"res/missing.ttf", "/dev/null", "res/opaque.png"}) {
        EXPECT_EQ("", opening(file, 12));
    }
    // A face a font file does not have; a stream the font leaves open.
    SDL_RWops* src = SDL_RWFromFile("res/Vera.ttf", "rb");
    EXPECT_EQ(nullptr, compat_TTF_OpenFontIndexRW(src, 0, 12, 1));
    SDL_RWseek(src, 0, RW_SEEK_SET);
    compat_TTF_CloseFont(compat_TTF_OpenFontIndexRW(src, 0, 12, 0));
    EXPECT_EQ(0, SDL_RWclose(src));
    EXPECT_EQ("", opening("res/Vera.ttf", 0));
    font = compat_TTF_OpenFont("res/Vera.ttf", 12);
    ASSERT_NE(nullptr, font);
    TTF_Quit();
    compat_TTF_Quit();
    EXPECT_EQ(0, compat_TTF_WasInit());
    // Unlike SDL_ttf, a font closed or used after the last TTF_Quit touches
    // none of the FreeType memory that went with it.
    EXPECT_EQ(-1, compat_TTF_SizeUTF8(font, "x", nullptr, nullptr));
    EXPECT_STREQ("Library not initialized", SDL_GetError());
    compat_TTF_CloseFont(font);
    EXPECT_EQ("", opening("res/Vera.ttf", 12)); // "Library not initialized"
    EXPECT_EQ("", opening("res/missing.ttf", 12));
    ASSERT_EQ(0, TTF_Init());
    ASSERT_EQ(0, compat_TTF_Init());
}
