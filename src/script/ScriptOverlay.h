#ifndef SCRIPT_OVERLAY_H
#define SCRIPT_OVERLAY_H

#include "KZ/Invader2D.h"

#include <GL/gl.h>
#include <SDL/SDL_ttf.h>
#include <functional>
#include <string>

class ScriptFindingsBoard;

// Shows what is wrong with the game over the game, in its window, while the
// game goes on under it: each finding of a findings board as the checker
// words it, then the line of the file it is about and a caret under the
// place. A dark panel across the top of the window, in front of everything
// (depth Z), drawn only while the board holds something: with an empty board
// the game's frames are exactly as without the overlay. One per scene; all
// read the player's one board, and redraw their picture when it changes.
//
// The overlay opens its own font: the game's font may be the very thing that
// is wrong. Without a font it still shows the panel.
class ScriptOverlay : public KZ_Invader2D {
public:
    // In front of the dialog box (-1000), the menus (-700) and everything else.
    static constexpr int Z = -9000;
    // Point size of the text.
    static constexpr int FONT_SIZE = 14;
    // Backdrop colour (R, G, B, A) and the colours of the text.
    static const unsigned char PANEL[4];
    static const SDL_Color ERROR_COLOUR;   // a heading that says "error"
    static const SDL_Color WARNING_COLOUR; // any other heading
    static const SDL_Color SOURCE_COLOUR;  // the line of the file
    static const SDL_Color CARET_COLOUR;   // the caret

    // Shows `board` (not owned; it outlives the overlay) in the font at
    // `fontPath`. `eachStep`, if given, runs at every step of the overlay's
    // scene: what keeps the game in step with its files while it plays.
    ScriptOverlay(const ScriptFindingsBoard* board, std::string fontPath,
                  std::function<void()> eachStep = nullptr);
    ~ScriptOverlay() override;
    ScriptOverlay(const ScriptOverlay&) = delete;
    ScriptOverlay& operator=(const ScriptOverlay&) = delete;

    // Runs `eachStep`.
    void step() override;
    // The panel, while the board holds something; laid out again first when
    // the board has changed.
    void draw(KZ_Graphics* g) override;
    // Opens the font; the panel's picture is made when it is first drawn.
    void loadGraphics() override;
    // Closes the font and deletes the picture.
    void unloadGraphics() override;

    // The panel's height in window pixels as last laid out (0 while empty).
    int getPanelHeight() const;

private:
    void layOut();

    const ScriptFindingsBoard* board;
    std::string fontPath;
    std::function<void()> eachStep;
    TTF_Font* font; // owned; null when closed or when it cannot be opened
    GLuint texture; // owned; the panel as last laid out, 0 if none
    unsigned drawnGeneration;
    bool laidOut; // whether texture shows the board's current generation
    int panelHeight;
    int textureWidth;
    int textureHeight;
};

#endif
