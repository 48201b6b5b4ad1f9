#include "KZ/FontRenderer.h"
#include "RenderHelpers.h"
#include "TestSupport.h"

#include <cstdint>
#include <gtest/gtest.h>

using Line = KZ_FontRenderer::Line;
using Size = KZ_FontRenderer::Size;

namespace {

// A font in which every byte, the blank included, is 10 pixels wide and a
// line is 17 pixels high; laid out with a line skip of 20.
Size tenPixels(const std::string&, std::size_t start, std::size_t end) {
    return Size{static_cast<int>(end - start) * 10, 17};
}
const int SKIP = 20;

std::vector<std::string> linesOf(const std::string& text, const std::vector<Line>& lines) {
    std::vector<std::string> texts;
    for (const Line& line : lines) {
        texts.push_back(text.substr(line.start, line.end - line.start));
    }
    return texts;
}

std::vector<std::string> breakTen(const std::string& text, int limit) {
    return linesOf(text, KZ_FontRenderer::breakLines(text, limit, tenPixels));
}

using Lines = std::vector<std::string>;

const char* const FONT = "res/Vera.ttf";
const int POINTS = 16;

// What a text surface must hold when `lines` are drawn one line skip apart:
// opaque white wherever the font's own solid rendering of a line has a glyph
// pixel, transparent black everywhere else. Compared byte for byte.
void expectRenderedLines(KZ_FontRenderer& renderer, SDL_Surface* surface, const Lines& lines) {
    ASSERT_NE(nullptr, surface);
    ASSERT_EQ(32, surface->format->BitsPerPixel);
    std::vector<std::uint32_t> expected(static_cast<std::size_t>(surface->w) * surface->h, 0);
    const int skip = TTF_FontLineSkip(renderer.font);
    const SDL_Color white = {255, 255, 255, 0};
    for (std::size_t k = 0; k < lines.size(); ++k) {
        SDL_Surface* solid = TTF_RenderUTF8_Solid(renderer.font, lines[k].c_str(), white);
        ASSERT_NE(nullptr, solid) << lines[k];
        const Uint8* indices = static_cast<const Uint8*>(solid->pixels);
        for (int y = 0; y < solid->h; ++y) {
            for (int x = 0; x < solid->w; ++x) {
                const int top = static_cast<int>(k) * skip;
                if (x < surface->w && top + y < surface->h &&
                    indices[y * solid->pitch + x] != solid->format->colorkey) {
                    expected[static_cast<std::size_t>(top + y) * surface->w + x] = 0xFFFFFFFF;
                }
            }
        }
        SDL_FreeSurface(solid);
    }
    int glyphPixels = 0;
    int mismatches = 0;
    for (int y = 0; y < surface->h; ++y) {
        const std::uint32_t* row = reinterpret_cast<const std::uint32_t*>(
            static_cast<const Uint8*>(surface->pixels) + y * surface->pitch);
        for (int x = 0; x < surface->w; ++x) {
            const std::uint32_t want = expected[static_cast<std::size_t>(y) * surface->w + x];
            glyphPixels += want != 0;
            if (row[x] != want && ++mismatches <= 5) {
                ADD_FAILURE() << "pixel " << x << "," << y << " is " << std::hex << row[x]
                              << ", expected " << want;
            }
        }
    }
    EXPECT_EQ(0, mismatches);
    EXPECT_GT(glyphPixels, 0);
}

// Whether any glyph pixel lies in columns [left, right) of a text surface.
bool hasGlyphIn(SDL_Surface* surface, int left, int right) {
    for (int y = 0; y < surface->h; ++y) {
        const Uint8* row = static_cast<const Uint8*>(surface->pixels) + y * surface->pitch;
        for (int x = left; x < right && x < surface->w; ++x) {
            if (row[x * 4 + 3] != 0) {
                return true;
            }
        }
    }
    return false;
}

} // namespace

TEST(FontRendererLayout, WorkedExamplesWithTenPixelCharacters) {
    EXPECT_EQ((Lines{"ab", "cd", "ef"}), breakTen("ab cd ef", 45));
    KZ_FontRenderer::Layout layout = KZ_FontRenderer::layOut("ab cd ef", 45, tenPixels, SKIP);
    EXPECT_EQ((Lines{"ab", "cd", "ef"}), linesOf("ab cd ef", layout.lines));
    EXPECT_EQ(45, layout.width);
    EXPECT_EQ(80, layout.height);

    // No wrapping: the one-line height the font gives.
    layout = KZ_FontRenderer::layOut("ab cd ef", -1, tenPixels, SKIP);
    EXPECT_EQ((Lines{"ab cd ef"}), linesOf("ab cd ef", layout.lines));
    EXPECT_EQ(80, layout.width);
    EXPECT_EQ(17, layout.height);

    // A wide limit: the text's own width, one line plus one line skip.
    layout = KZ_FontRenderer::layOut("ab cd ef", 200, tenPixels, SKIP);
    EXPECT_EQ((Lines{"ab cd ef"}), linesOf("ab cd ef", layout.lines));
    EXPECT_EQ(80, layout.width);
    EXPECT_EQ(40, layout.height);

    // A word wider than the limit keeps a line of its own.
    layout = KZ_FontRenderer::layOut("abcdef gh", 45, tenPixels, SKIP);
    EXPECT_EQ((Lines{"abcdef", "gh"}), linesOf("abcdef gh", layout.lines));
    EXPECT_EQ(60, layout.height);

    // Width 0: drawn on one line, but the height counts one line per word.
    layout = KZ_FontRenderer::layOut("ab cd ef", 0, tenPixels, SKIP);
    EXPECT_EQ((Lines{"ab cd ef"}), linesOf("ab cd ef", layout.lines));
    EXPECT_EQ(80, layout.width);
    EXPECT_EQ(80, layout.height);

    // Two blanks in a row: only the blank at the break is dropped.
    EXPECT_EQ((Lines{"ab", " cd"}), breakTen("ab  cd", 25));
    EXPECT_EQ((Lines{"ab ", "cd"}), breakTen("ab  cd", 35));
}

TEST(FontRendererLayout, EveryCharacterOfTheTextIsLaidOut) {
    EXPECT_EQ((Lines{"ab", "c"}), breakTen("ab c", 25));
    EXPECT_EQ((Lines{"ab", "cd", "e"}), breakTen("ab cd e", 35));
    EXPECT_EQ((Lines{"a"}), breakTen("a", 45));
    EXPECT_EQ((Lines{"a"}), breakTen("a", 0));
    EXPECT_EQ((Lines{"ab"}), breakTen("ab ", 25)); // a trailing blank at a break is dropped
    EXPECT_EQ((Lines{"ab "}), breakTen("ab ", 35));
    EXPECT_EQ((Lines{" "}), breakTen(" ", 35));
    EXPECT_EQ(Lines{}, breakTen("", 45));
    EXPECT_EQ(Lines{}, breakTen("", -1));

    // Heights count those lines: a one-character line is a line.
    EXPECT_EQ(60, KZ_FontRenderer::wrapHeight("ab c", 25, tenPixels, SKIP));
    EXPECT_EQ(40, KZ_FontRenderer::wrapHeight("a", 540, tenPixels, SKIP));
    EXPECT_EQ(20, KZ_FontRenderer::wrapHeight("", 540, tenPixels, SKIP));
    KZ_FontRenderer::Layout layout = KZ_FontRenderer::layOut("", 540, tenPixels, SKIP);
    EXPECT_TRUE(layout.lines.empty());
    EXPECT_EQ(0, layout.width);
    EXPECT_EQ(20, layout.height);
}

TEST(FontRendererLayout, WordLimitClosesALineAfterTenThousandWords) {
    std::string text = "a";
    for (int i = 1; i < 10001; ++i) {
        text += " a";
    }
    const std::vector<Line> lines = KZ_FontRenderer::breakLines(text, 1 << 30, tenPixels);
    ASSERT_EQ(2u, lines.size());
    EXPECT_EQ(0u, lines[0].start);
    EXPECT_EQ(19999u, lines[0].end); // ten thousand words, up to the blank after the last
    EXPECT_EQ(20000u, lines[1].start);
    EXPECT_EQ(text.size(), lines[1].end);
}

// Over many texts of words and blanks: lines cover the text in order, a single
// blank dropped between two lines; each line fits or is one over-wide word;
// and no line could have taken the next word too.
TEST(FontRendererLayout, LinesCoverTheTextAndBreakGreedily) {
    std::uint32_t seed = 12345;
    auto next = [&seed](std::uint32_t n) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) % n;
    };
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        const std::uint32_t length = next(30);
        for (std::uint32_t i = 0; i < length; ++i) {
            text += "ab  "[next(4)];
        }
        const int limit = static_cast<int>(next(80)) - 5;
        SCOPED_TRACE("text \"" + text + "\" limit " + std::to_string(limit));
        const std::vector<Line> lines = KZ_FontRenderer::breakLines(text, limit, tenPixels);
        std::size_t at = 0;
        for (std::size_t k = 0; k < lines.size(); ++k) {
            const Line& line = lines[k];
            ASSERT_EQ(at, line.start);
            ASSERT_LT(line.start, line.end);
            ASSERT_LE(line.end, text.size());
            const int width = static_cast<int>(line.end - line.start) * 10;
            const bool oneWord = text.find(' ', line.start + 1) >= line.end;
            EXPECT_TRUE(width <= limit || oneWord);
            if (line.end < text.size()) {
                ASSERT_EQ(' ', text[line.end]);
                // The next candidate end was too wide.
                const std::size_t blank = text.find(' ', line.end + 1);
                const std::size_t candidate = blank == std::string::npos ? text.size() : blank;
                if (width <= limit) {
                    EXPECT_GT(static_cast<int>(candidate - line.start) * 10, limit);
                }
            }
            at = line.end + 1;
        }
        // Everything is used, apart from a blank dropped at the very end.
        EXPECT_TRUE(at >= text.size()) << at;
    }
}

TEST(FontRenderer, SpanishTextRendersWhiteAndOpaqueLikeTheFont) {
    testsupport::openWindow();
    KZ_FontRenderer renderer(FONT, POINTS);
    EXPECT_EQ(FONT, renderer.path);
    EXPECT_EQ(POINTS, renderer.size);
    EXPECT_NE(nullptr, renderer.font);
    EXPECT_EQ(0u, renderer.texture);

    int width = 0;
    int height = 0;
    TTF_SizeUTF8(renderer.font, "¿O si?", &width, &height);
    SDL_Surface* surface = renderer.renderTextToSDLSurface("¿O si?", -1);
    EXPECT_EQ(width, renderer.getWidth());
    EXPECT_EQ(height, renderer.getHeight());
    EXPECT_EQ(renderer.powerOfTwo(width), renderer.textureBB.width);
    EXPECT_EQ(renderer.powerOfTwo(height), renderer.textureBB.height);
    EXPECT_EQ(renderer.textureBB.width, surface->w);
    EXPECT_EQ(renderer.textureBB.height, surface->h);
    expectRenderedLines(renderer, surface, {"¿O si?"});
    // The inverted question mark (two bytes of UTF-8) is there at the start.
    int markWidth = 0;
    TTF_SizeUTF8(renderer.font, "¿", &markWidth, &height);
    EXPECT_TRUE(hasGlyphIn(surface, 0, markWidth));
    SDL_FreeSurface(surface);
}

TEST(FontRenderer, AccentedWordsWrapOneLineSkipApart) {
    testsupport::openWindow();
    KZ_FontRenderer renderer(FONT, POINTS);
    const std::string text = "desaliñado extraño ¿O si?";
    const int skip = TTF_FontLineSkip(renderer.font);
    // Wide enough for "desaliñado", too narrow for "extraño ¿O".
    int widest = 0;
    int twoWords = 0;
    int height = 0;
    TTF_SizeUTF8(renderer.font, "desaliñado", &widest, &height);
    TTF_SizeUTF8(renderer.font, "extraño ¿O", &twoWords, &height);
    ASSERT_LT(widest, twoWords);
    const int limit = widest + (twoWords - widest) / 2;

    EXPECT_EQ(4 * skip, renderer.wrapHeight(text, limit));
    SDL_Surface* surface = renderer.renderTextToSDLSurface(text, limit);
    EXPECT_EQ(limit, renderer.getWidth());
    EXPECT_EQ(4 * skip, renderer.getHeight());
    EXPECT_EQ(renderer.powerOfTwo(limit), surface->w);
    EXPECT_EQ(renderer.powerOfTwo(4 * skip), surface->h);
    expectRenderedLines(renderer, surface, {"desaliñado", "extraño", "¿O si?"});
    SDL_FreeSurface(surface);

    // One line at the dialog's width: one line plus one line skip high.
    EXPECT_EQ(2 * skip, renderer.wrapHeight(text, 540));
}

TEST(FontRenderer, OneCharacterAndEmptyTexts) {
    testsupport::openWindow();
    KZ_FontRenderer renderer(FONT, POINTS);
    const int skip = TTF_FontLineSkip(renderer.font);

    SDL_Surface* surface = renderer.renderTextToSDLSurface("a", 540);
    EXPECT_EQ(2 * skip, renderer.getHeight());
    expectRenderedLines(renderer, surface, {"a"});
    SDL_FreeSurface(surface);

    // A last line of one character is drawn too.
    surface = renderer.renderTextToSDLSurface("extraño a", 40);
    EXPECT_EQ(3 * skip, renderer.getHeight());
    expectRenderedLines(renderer, surface, {"extraño", "a"});
    SDL_FreeSurface(surface);

    // An empty text is no line: nothing drawn, one line skip high.
    renderer.renderText("", 540);
    EXPECT_NE(0u, renderer.texture);
    EXPECT_EQ(0, renderer.getWidth());
    EXPECT_EQ(skip, renderer.getHeight());
    EXPECT_EQ(1, renderer.textureBB.width);
    testsupport::beginSceneFrame();
    renderer.draw(100, 100, 0);
    EXPECT_EQ(0u, testsupport::readPixel(100, 100));
}

TEST(FontRenderer, DrawsTheTextureAtOneTexelPerPixel) {
    testsupport::openWindow();
    KZ_FontRenderer renderer(FONT, POINTS);
    renderer.renderText("desaliñado ¿O si?", -1);
    EXPECT_EQ(renderer.textureBB.width,
              renderhelpers::textureLevelParameter(renderer.texture, GL_TEXTURE_WIDTH));
    EXPECT_EQ(renderer.textureBB.height,
              renderhelpers::textureLevelParameter(renderer.texture, GL_TEXTURE_HEIGHT));
    SDL_Surface* reference = renderer.renderTextToSDLSurface("desaliñado ¿O si?", -1);

    const int left = 100;
    const int top = 50;
    testsupport::beginSceneFrame();
    renderer.draw(left, top, 0);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    const std::vector<unsigned> window = renderhelpers::readWindow();
    const int windowWidth = 640;
    int mismatches = 0;
    int white = 0;
    // The texture's area and a 2-pixel frame around it.
    for (int y = -2; y < reference->h + 2; ++y) {
        for (int x = -2; x < reference->w + 2; ++x) {
            unsigned want = 0x000000;
            if (x >= 0 && y >= 0 && x < reference->w && y < reference->h) {
                const Uint8* p =
                    static_cast<const Uint8*>(reference->pixels) + y * reference->pitch + x * 4;
                want = p[3] == 255 ? 0xFFFFFF : 0x000000;
            }
            const unsigned got = window[(top + y) * windowWidth + left + x];
            white += got == 0xFFFFFF;
            if (got != want && ++mismatches <= 5) {
                ADD_FAILURE() << "window pixel " << left + x << "," << top + y << " is " << std::hex
                              << got << ", expected " << want;
            }
        }
    }
    EXPECT_EQ(0, mismatches);
    EXPECT_GT(white, 50);
    SDL_FreeSurface(reference);
}

TEST(FontRenderer, NewTextReplacesTextureAndSizes) {
    testsupport::openWindow();
    KZ_FontRenderer renderer(FONT, POINTS);
    renderer.renderText("extraño", -1);
    const GLuint first = renderer.texture;
    const int firstWidth = renderer.getWidth();
    renderer.renderText("desaliñado extraño", 540);
    EXPECT_FALSE(glIsTexture(first));
    EXPECT_TRUE(glIsTexture(renderer.texture));
    EXPECT_GT(renderer.getWidth(), firstWidth);
    EXPECT_EQ(2 * TTF_FontLineSkip(renderer.font), renderer.getHeight());
}

TEST(FontRenderer, TextTooWideForASurfaceDrawsNothingInsteadOfCrashing) {
    testsupport::openWindow();
    KZ_FontRenderer renderer(FONT, POINTS);
    // Over 8192 pixels on one line: the surface would be 16384 wide, beyond
    // what SDL makes.
    testsupport::captureStdout();
    renderer.renderText(std::string(1000, 'a'), -1);
    const std::string printed = testsupport::capturedStdout();
    EXPECT_EQ(0u, printed.find("Could not make a surface for the text: ")) << printed;
    EXPECT_NE(0u, renderer.texture);
    EXPECT_GT(renderer.getWidth(), 8192);
    testsupport::beginSceneFrame();
    renderer.draw(0, 0, 0);
    EXPECT_EQ(0u, testsupport::readPixel(5, 5));
}

TEST(FontRenderer, SizeFollowsTheSpriteRatioRule) {
    testsupport::openWindow();
    KZ_FontRenderer renderer(FONT, POINTS);
    renderer.renderText("ab", -1); // a 64-wide texture for a narrower text
    const int ratio = renderer.textureBB.width / renderer.getWidth();
    renderer.setWidth(30);
    EXPECT_EQ(30, renderer.getWidth());
    EXPECT_EQ(30 * ratio, renderer.textureBB.width);
    renderer.setHeight(0);
    renderer.setHeight(40);
    EXPECT_EQ(40, renderer.getHeight());
    EXPECT_EQ(40, renderer.textureBB.height);
}

TEST(FontRendererDeathTest, DrawingBeforeAnyTextStops) {
    EXPECT_DEATH(
        {
            testsupport::openWindow();
            KZ_FontRenderer renderer(FONT, POINTS);
            renderer.draw(0, 0, 0);
        },
        "src/KZ/FontRenderer.cpp.*texture!=0");
}

TEST(FontRendererDeathTest, MissingFontEndsTheProgramNamingIt) {
    EXPECT_EXIT(
        {
            renderhelpers::stdoutToStderr();
            testsupport::openWindow();
            KZ_FontRenderer renderer("fonts/missing.ttf", POINTS);
            renderer.renderText("never", -1);
        },
        testing::ExitedWithCode(1),
        "Unable to load font: fonts/missing.ttf [^\n]* \nCould not load fonts/missing.ttf: there "
        "is no fonts/ folder in /[^\n]* \\(the game reads its files from the folder it is "
        "started in\\)\n");
}
