// compat/SDL_ttf.cpp, built here as compat_TTF_*, against Debian's SDL_ttf:
// fonts Debian ships (proportional and monospace, sans and serif, a maths
// font whose ink goes below its descent, a bitmap-only font) and fonts with
// grey embedded bitmaps at sizes 6 to 96, texts in Latin-1 and UTF-8 with combining marks, glyphs
// the fonts lack, byte-order marks and malformed UTF-8; sizes, heights, line skips and Solid
// surfaces (palette, colour key, pixels) must be the same, and so must
// initialisation counting and failures.

#include "Surfaces.h"

#include <SDL/SDL_ttf.h>
#include <gtest/gtest.h>
#include <unistd.h>

extern "C" {
int compat_TTF_Init();
int compat_TTF_WasInit();
void compat_TTF_Quit();
TTF_Font* compat_TTF_OpenFont(const char* file, int ptsize);
void compat_TTF_CloseFont(TTF_Font* font);
int compat_TTF_FontHeight(const TTF_Font* font);
int compat_TTF_FontAscent(const TTF_Font* font);
int compat_TTF_FontDescent(const TTF_Font* font);
int compat_TTF_FontLineSkip(const TTF_Font* font);
int compat_TTF_SizeUTF8(TTF_Font* font, const char* text, int* w, int* h);
int compat_TTF_SizeText(TTF_Font* font, const char* text, int* w, int* h);
SDL_Surface* compat_TTF_RenderUTF8_Solid(TTF_Font* font, const char* text, SDL_Color fg);
SDL_Surface* compat_TTF_RenderText_Solid(TTF_Font* font, const char* text, SDL_Color fg);
}

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
const char* const TEXTS[] = {"Empezar",
                             "Lamento haberlo hecho venir de improviso, pero este caso lo amerita",
                             "¿Hay alguien viviendo ahi dentro?",
                             "jajaja AV Wa Tj yy gjpqy",
                             " leading and trailing ",
                             " ",
                             "",
                             "ÀÉÎÕÜÑÇ àéîõüñç ¡¿ßøÿ",
                             "e\xcc\x81 a\xcc\x88\xcc\xa3",
                             "\xcc\x81x",
                             "\xe4\xb8\xad\xe6\x96\x87 \xf0\x9f\x98\x80",
                             "bad \xff byte",
                             "x\x80y",
                             "cut \xe2\x82",
                             "a\xc0\x80"
                             "b",
                             "\xef\xbb\xbf"
                             "jo",
                             "\xef\xbf\xbe"
                             "swapped"};

// Latin-1 bytes, for TTF_SizeText and TTF_RenderText_Solid.
const char* const LATIN1[] = {"caf\xe9 \xf1"
                              "and\xfa \xbfqu\xe9?",
                              "\xff\xfe\xfd", "plain"};

std::string compareText(TTF_Font* a, TTF_Font* b, const char* text, bool latin1) {
    int w1 = -1, h1 = -1, w2 = -1, h2 = -1;
    const int r1 = latin1 ? TTF_SizeText(a, text, &w1, &h1) : TTF_SizeUTF8(a, text, &w1, &h1);
    const int r2 =
        latin1 ? compat_TTF_SizeText(b, text, &w2, &h2) : compat_TTF_SizeUTF8(b, text, &w2, &h2);
    if (r1 != r2 || w1 != w2 || h1 != h2) {
        return "size " + std::to_string(w1) + "x" + std::to_string(h1) + " / " +
               std::to_string(w2) + "x" + std::to_string(h2);
    }
    const SDL_Color colour = {200, 30, 90, 0};
    SDL_Surface* s1 =
        latin1 ? TTF_RenderText_Solid(a, text, colour) : TTF_RenderUTF8_Solid(a, text, colour);
    const std::string e1 = SDL_GetError();
    SDL_Surface* s2 = latin1 ? compat_TTF_RenderText_Solid(b, text, colour)
                             : compat_TTF_RenderUTF8_Solid(b, text, colour);
    const std::string d = surfaceDifference(s1, s2, e1, SDL_GetError());
    SDL_FreeSurface(s1);
    SDL_FreeSurface(s2);
    return d;
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
                EXPECT_EQ("", compareText(a, b, text, false)) << where << text;
            }
            for (const char* text : LATIN1) {
                EXPECT_EQ("", compareText(a, b, text, true)) << where << text;
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
    ASSERT_NE(nullptr, font);
    int w = -1; // a NULL text is an empty one (SDL_ttf crashes)
    EXPECT_EQ(0, compat_TTF_SizeUTF8(font, nullptr, &w, nullptr));
    EXPECT_EQ(0, w);
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
