#ifndef KZ_FONTRENDERER_H
#define KZ_FONTRENDERER_H

#include "KZ/BoundingBox.h"

#include <GL/gl.h>
#include <SDL/SDL.h>
#include <SDL/SDL_ttf.h>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

// Turns a UTF-8 text into one OpenGL texture, wrapped into lines at blanks
// within a width, and draws it as a quad like a sprite. Owns one TrueType font
// opened at one point size and the texture of the last text it rendered.
// Owned by the entity that shows the text (created in its loadGraphics(),
// deleted in its unloadGraphics()).
class KZ_FontRenderer {
public:
    // One laid-out line: the bytes [start, end) of the text.
    struct Line {
        std::size_t start;
        std::size_t end;
    };

    // Width and height in pixels of some text on one line.
    struct Size {
        int width;
        int height;
    };

    // How a font measures: the size of the bytes [start, end) of `text` on one line.
    using Measure =
        std::function<Size(const std::string& text, std::size_t start, std::size_t end)>;

    // A text laid out within a width, before any glyph is drawn.
    struct Layout {
        std::vector<Line> lines; // top to bottom, one line skip apart, left-aligned
        int width;               // the text's width (bb.width)
        int height;              // the text's height (bb.height)
    };

    KZ_BoundingBox textureBB; // texture size of the last text, powers of two; draw() covers it
    KZ_BoundingBox bb;        // size of the last text itself, as callers see it
    int size;                 // the font's point size
    std::string path;         // the font file
    GLuint texture;           // the last text's texture, owned; 0 until a text is rendered
    TTF_Font* font;           // the open font, owned; null only after a fault that was handled

    // Opens the font at `path` in `size` points. No text is rendered yet.
    KZ_FontRenderer(std::string path, int size);
    // Deletes the texture, then closes the font.
    ~KZ_FontRenderer();

    // Owns its texture and open font: a copy would release them twice.
    KZ_FontRenderer(const KZ_FontRenderer&) = delete;
    KZ_FontRenderer& operator=(const KZ_FontRenderer&) = delete;

    // (Re)opens the font from `path` at `size`. A font that cannot be opened
    // ends the program in an orderly way: no text could be shown (unless a
    // fault handler takes it, KZ_ResourceManager::setFaultHandler; then the
    // renderer draws nothing).
    void loadGraphics();

    // Replaces the texture with `text` laid out within `width` pixels; a
    // negative width means one line, no wrapping.
    void renderText(std::string text, int width);

    // Draws the last rendered text with its top-left corner at (x, y) and
    // depth z, one texel per pixel.
    void draw(int x, int y, int z);

    // Width of the last rendered text (bb.width).
    int getWidth();
    // Height of the last rendered text (bb.height), one line skip more than its lines.
    int getHeight();

    // Change the drawn size with the same ratio rule as KZ_Sprite's.
    void setWidth(int width);
    void setHeight(int height);

    // The smallest power of two not less than `n`, starting from 1 (as
    // KZ_ResourceManager::powerOfTwo).
    int powerOfTwo(int n);

    // The height `text` takes within `width` pixels: one line's height for a
    // negative width, otherwise (lines + 1) line skips.
    int wrapHeight(std::string text, int width);

    // Lays `text` out into a new 32-bit RGBA surface (white opaque glyphs on
    // transparent black), records the sizes in bb and textureBB and returns
    // the surface, which the caller frees. Null if the surface cannot be made.
    SDL_Surface* renderTextToSDLSurface(std::string text, int width);

    // The line-breaking rule shared by wrapHeight() and renderTextToSDLSurface():
    // lines break at blanks (byte 0x20, which is dropped at the break) so that
    // each is at most `limit` pixels wide as `measure` says; a word wider than
    // the limit gets a line of its own. An empty text gives no line.
    static std::vector<Line> breakLines(const std::string& text, int limit, const Measure& measure);

    // wrapHeight() for a font that measures with `measure` and puts `lineSkip`
    // pixels between two lines' tops.
    static int wrapHeight(const std::string& text, int width, const Measure& measure, int lineSkip);

    // The lines and sizes renderTextToSDLSurface() gives `text` within `width`
    // in a font that measures with `measure`, `lineSkip` pixels per line.
    static Layout layOut(const std::string& text, int width, const Measure& measure, int lineSkip);

private:
    // Size of text[start, end) in this renderer's font; 0 x 0 if it cannot be measured.
    Size measure(const std::string& text, std::size_t start, std::size_t end);
    // measure() bound to this renderer, for the static layout functions.
    Measure fontMeasure();
    // Distance between two lines' tops in this renderer's font.
    int lineSkip();
};

#endif
