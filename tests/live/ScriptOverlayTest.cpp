#include "ScriptOverlay.h"
#include "ScriptFindingsBoard.h"

#include "TestSupport.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace {

bool near(unsigned rgb, int r, int g, int b) {
    return std::abs(testsupport::red(rgb) - r) <= 2 && std::abs(testsupport::green(rgb) - g) <= 2 &&
           std::abs(testsupport::blue(rgb) - b) <= 2;
}

bool is(unsigned rgb, SDL_Color colour) {
    return near(rgb, colour.r, colour.g, colour.b);
}

// Leftmost x in rows [top, bottom) whose pixel has `colour`; -1 if none.
int leftmost(int top, int bottom, SDL_Color colour) {
    for (int x = 0; x < 640; ++x) {
        for (int y = top; y < bottom; ++y) {
            if (is(testsupport::readPixel(x, y), colour)) {
                return x;
            }
        }
    }
    return -1;
}

unsigned frame(ScriptOverlay& overlay, int x, int y) {
    testsupport::beginSceneFrame();
    overlay.draw(nullptr);
    return testsupport::readPixel(x, y);
}

} // namespace

// The findings over the game: the checker's words in the colour of their kind,
// the file's line, the caret under the place the finding names; nothing at
// all while the board is empty, and the panel follows the board as it changes.
TEST(ScriptOverlay, ShowsEachFindingWithItsLineAndCaretOnlyWhileThereIsOne) {
    testsupport::openWindow();
    ScriptFindingsBoard board;
    ScriptOverlay overlay(&board, "res/Vera.ttf");
    overlay.loadGraphics();
    EXPECT_EQ(0u, frame(overlay, 5, 5));
    EXPECT_EQ(0, overlay.getPanelHeight());

    board.add({"escenas/inicio.txt:3:7: error: unknown speaker \"Inspectr\"; did you mean "
               "\"Inspector\"?",
               "\tsay \tInspectr: Buenos dias", 7});
    board.add({"escenas/inicio.txt:1:1: warning: the flag \"visto\" is set but never read", "", 0});
    EXPECT_TRUE(near(frame(overlay, 636, 2), 24 * 230 / 255, 16 * 230 / 255, 40 * 230 / 255));
    TTF_Font* font = TTF_OpenFont("res/Vera.ttf", ScriptOverlay::FONT_SIZE);
    ASSERT_NE(nullptr, font);
    const int skip = TTF_FontLineSkip(font);
    int before = 0;
    int height = 0;
    TTF_SizeUTF8(font, " say  ", &before, &height); // tabs are shown as one blank
    TTF_CloseFont(font);
    const int heading = leftmost(8, 8 + skip, ScriptOverlay::ERROR_COLOUR);
    EXPECT_GE(heading, 8);
    EXPECT_LT(heading, 16);
    EXPECT_EQ(-1, leftmost(8, 8 + skip, ScriptOverlay::WARNING_COLOUR));
    EXPECT_NE(-1, leftmost(8 + skip, 8 + 2 * skip, ScriptOverlay::SOURCE_COLOUR));
    const int caret = leftmost(8 + 2 * skip, 8 + 3 * skip, ScriptOverlay::CARET_COLOUR);
    EXPECT_GE(caret, 24 + before);
    EXPECT_LT(caret, 24 + before + 6);
    EXPECT_NE(-1, leftmost(8 + 3 * skip, 8 + 4 * skip, ScriptOverlay::WARNING_COLOUR));
    EXPECT_EQ(8 + 4 * skip + 8, overlay.getPanelHeight());
    EXPECT_EQ(0u, frame(overlay, 5, overlay.getPanelHeight() + 1));

    std::vector<ScriptFindingsBoard::Item> many(300, {"a.txt:1:1: error: x", "y", 1});
    board.show(many);
    frame(overlay, 0, 0);
    EXPECT_LE(overlay.getPanelHeight(), 480);
    EXPECT_EQ(300u, board.count());
    EXPECT_EQ(ScriptFindingsBoard::MAX_ITEMS, board.getItems().size());

    board.clear();
    EXPECT_EQ(0u, frame(overlay, 636, 2));
    EXPECT_EQ(0, overlay.getPanelHeight());
}
