// The browser build draws text with scripts/deps-src/SDL_ttf.cpp instead of SDL_ttf. Built
// here for the desktop, its functions renamed web_TTF_* (tests/CMakeLists.txt),
// it must measure and draw every line exactly as the desktop's SDL_ttf does.

#include <SDL/SDL.h>
#include <SDL/SDL_ttf.h>
#include <gtest/gtest.h>

extern "C" {
int web_TTF_Init();
TTF_Font* web_TTF_OpenFont(const char* file, int ptsize);
void web_TTF_CloseFont(TTF_Font* font);
int web_TTF_FontLineSkip(const TTF_Font* font);
int web_TTF_SizeUTF8(TTF_Font* font, const char* text, int* w, int* h);
SDL_Surface* web_TTF_RenderUTF8_Solid(TTF_Font* font, const char* text, SDL_Color fg);
}

namespace {

// The game's kinds of text (accents, ñ, ¿), kerning pairs, letters with ink
// left of the pen, blanks at either end, malformed and unusual UTF-8 (lone
// continuation and lead bytes, a sequence cut short, a byte-order mark).
const char* const TEXTS[] = {"Empezar",
                             "Lamento haberlo hecho venir de improviso, pero este caso lo amerita",
                             "¿Hay alguien viviendo ahi dentro?",
                             "Hay algo extraño en el fondo",
                             "Todo sea por la justicia!",
                             "jajaja AV Wa Tj yy",
                             " leading and trailing ",
                             "bad \xff byte",
                             "x\x80y",
                             "cut \xe2\x82",
                             "\xef\xbb\xbf"
                             "BOM first",
                             "e\xcc\x81"};

bool sameSurface(SDL_Surface* a, SDL_Surface* b) {
    if (a->w != b->w || a->h != b->h) {
        return false;
    }
    for (int y = 0; y < a->h; ++y) {
        for (int x = 0; x < a->w; ++x) {
            const bool inkA = static_cast<Uint8*>(a->pixels)[y * a->pitch + x] != 0;
            const bool inkB = static_cast<Uint8*>(b->pixels)[y * b->pitch + x] != 0;
            if (inkA != inkB) {
                return false;
            }
        }
    }
    return true;
}

} // namespace

TEST(WebText, MeasuresAndDrawsEveryLineAsSdlTtf) {
    ASSERT_EQ(0, SDL_Init(0));
    ASSERT_EQ(0, TTF_Init());
    ASSERT_EQ(0, web_TTF_Init());
    const SDL_Color white = {255, 255, 255, 0};
    for (int size : {12, 18, 20, 24, 33}) {
        TTF_Font* desktop = TTF_OpenFont("res/Vera.ttf", size);
        TTF_Font* web = web_TTF_OpenFont("res/Vera.ttf", size);
        ASSERT_NE(nullptr, desktop);
        ASSERT_NE(nullptr, web);
        EXPECT_EQ(TTF_FontLineSkip(desktop), web_TTF_FontLineSkip(web)) << size;
        for (const char* text : TEXTS) {
            int w1 = 0, h1 = 0, w2 = 0, h2 = 0;
            EXPECT_EQ(TTF_SizeUTF8(desktop, text, &w1, &h1), web_TTF_SizeUTF8(web, text, &w2, &h2));
            EXPECT_EQ(w1, w2) << size << " " << text;
            EXPECT_EQ(h1, h2) << size << " " << text;
            SDL_Surface* a = TTF_RenderUTF8_Solid(desktop, text, white);
            SDL_Surface* b = web_TTF_RenderUTF8_Solid(web, text, white);
            ASSERT_EQ(a == nullptr, b == nullptr) << size << " " << text;
            if (a != nullptr) {
                EXPECT_TRUE(sameSurface(a, b)) << size << " " << text;
                SDL_FreeSurface(a);
                SDL_FreeSurface(b);
            }
        }
        TTF_CloseFont(desktop);
        web_TTF_CloseFont(web);
    }
    EXPECT_EQ(nullptr, web_TTF_OpenFont("res/missing.ttf", 18));
    EXPECT_STREQ("Couldn't open res/missing.ttf", SDL_GetError());
}
