#include "ScriptOverlay.h"

#include "KZ/Display.h"
#include "KZ/FontRenderer.h"
#include "KZ/ResourceManager.h"
#include "ScriptFindingsBoard.h"

#include <algorithm>
#include <vector>

const unsigned char ScriptOverlay::PANEL[4] = {24, 16, 40, 230};
const SDL_Color ScriptOverlay::ERROR_COLOUR = {255, 110, 100, 0};
const SDL_Color ScriptOverlay::WARNING_COLOUR = {255, 210, 90, 0};
const SDL_Color ScriptOverlay::SOURCE_COLOUR = {255, 255, 255, 0};
const SDL_Color ScriptOverlay::CARET_COLOUR = {110, 255, 120, 0};

// Space around the text, and how far the file's line is indented under its heading.
static const int MARGIN = 8;
static const int INDENT = 24;
// The longest part of a file's line that is shown (a line can be very long).
static const std::size_t SHOWN_BYTES = 400;
// Height of the panel when there is no font to write in.
static const int BARE_HEIGHT = 24;

ScriptOverlay::ScriptOverlay(const ScriptFindingsBoard* board, std::string fontPath,
                             std::function<void()> eachStep)
    : board(board)
    , fontPath(fontPath)
    , eachStep(eachStep)
    , font(nullptr)
    , texture(0)
    , drawnGeneration(0)
    , laidOut(false)
    , panelHeight(0)
    , textureWidth(0)
    , textureHeight(0) {
    z = Z;
}

ScriptOverlay::~ScriptOverlay() {
    unloadGraphics();
}

void ScriptOverlay::step() {
    if (eachStep) {
        eachStep();
    }
}

void ScriptOverlay::loadGraphics() {
    if (font == nullptr) {
        font = TTF_OpenFont(fontPath.c_str(), FONT_SIZE);
    }
    laidOut = false;
}

void ScriptOverlay::unloadGraphics() {
    if (texture != 0) {
        glDeleteTextures(1, &texture);
        texture = 0;
    }
    if (font != nullptr) {
        TTF_CloseFont(font);
        font = nullptr;
    }
    laidOut = false;
}

int ScriptOverlay::getPanelHeight() const {
    return panelHeight;
}

// The first `count` characters of a UTF-8 text (all of it if it has fewer).
static std::string firstCharacters(const std::string& text, int count) {
    std::size_t at = 0;
    for (int k = 0; k < count && at < text.size(); ++k) {
        ++at;
        while (at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80) {
            ++at;
        }
    }
    return text.substr(0, at);
}

// A file's line as shown: tabs as one blank each (so the caret still counts
// one character for them), cut after SHOWN_BYTES at a character's start.
static std::string shownLine(const std::string& line) {
    std::string shown = line.substr(0, SHOWN_BYTES);
    if (line.size() > SHOWN_BYTES) {
        while (!shown.empty() && (static_cast<unsigned char>(line[shown.size()]) & 0xC0) == 0x80) {
            shown.pop_back();
        }
    }
    std::replace(shown.begin(), shown.end(), '\t', ' ');
    return shown;
}

void ScriptOverlay::layOut() {
    laidOut = true;
    drawnGeneration = board->getGeneration();
    if (texture != 0) {
        glDeleteTextures(1, &texture);
        texture = 0;
    }
    panelHeight = 0;
    if (board->isEmpty()) {
        return;
    }
    const int width = KZ_Display::SCREEN_WIDTH;
    const int height = KZ_Display::SCREEN_HEIGHT;

    // Everything to write, top to bottom, before any of it is drawn.
    struct Piece {
        std::string text;
        SDL_Color colour;
        int x;
        int y;
    };
    std::vector<Piece> pieces;
    const int skip = font != nullptr ? TTF_FontLineSkip(font) : 0;
    int y = MARGIN;
    if (font != nullptr) {
        const auto measure = [this](const std::string& text, std::size_t start, std::size_t end) {
            KZ_FontRenderer::Size size = {0, 0};
            const std::string bytes = text.substr(start, end - start);
            if (TTF_SizeUTF8(font, bytes.c_str(), &size.width, &size.height) != 0) {
                size.width = 0;
            }
            return size;
        };
        const int bottom = height - MARGIN - skip; // the last line's top
        std::size_t shown = 0;
        for (const ScriptFindingsBoard::Item& item : board->getItems()) {
            const std::string source = shownLine(item.source);
            const std::vector<KZ_FontRenderer::Line> lines =
                KZ_FontRenderer::breakLines(item.heading, width - 2 * MARGIN, measure);
            const int needed = static_cast<int>(lines.size() + (source.empty() ? 0 : 2)) * skip;
            if (y + needed > bottom && shown > 0) {
                break;
            }
            const bool error = item.heading.find(": error:") != std::string::npos;
            for (const KZ_FontRenderer::Line& line : lines) {
                pieces.push_back({item.heading.substr(line.start, line.end - line.start),
                                  error ? ERROR_COLOUR : WARNING_COLOUR, MARGIN, y});
                y += skip;
            }
            if (!source.empty()) {
                pieces.push_back({source, SOURCE_COLOUR, INDENT, y});
                y += skip;
                if (item.column > 0) {
                    const std::string before = firstCharacters(source, item.column - 1);
                    pieces.push_back(
                        {"^", CARET_COLOUR, INDENT + measure(before, 0, before.size()).width, y});
                    y += skip;
                }
            }
            ++shown;
        }
        if (shown < board->count()) {
            const std::size_t more = board->count() - shown;
            pieces.push_back(
                {"... and " + std::to_string(more) + " more", SOURCE_COLOUR, MARGIN, y});
            y += skip;
        }
        y += MARGIN;
    } else {
        y = BARE_HEIGHT;
    }
    panelHeight = std::min(y, height);

    textureWidth = KZ_ResourceManager::powerOfTwo(width);
    textureHeight = KZ_ResourceManager::powerOfTwo(panelHeight);
    // Bytes R, G, B, A, as the texture upload takes them.
    SDL_Surface* panel = SDL_CreateRGBSurface(SDL_SWSURFACE, textureWidth, textureHeight, 32,
                                              0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000);
    if (panel == nullptr) {
        return;
    }
    SDL_FillRect(panel, nullptr, SDL_MapRGBA(panel->format, 0, 0, 0, 0));
    SDL_Rect backdrop = {0, 0, static_cast<Uint16>(width), static_cast<Uint16>(panelHeight)};
    SDL_FillRect(panel, &backdrop,
                 SDL_MapRGBA(panel->format, PANEL[0], PANEL[1], PANEL[2], PANEL[3]));
    for (const Piece& piece : pieces) {
        // Solid text: its glyph pixels land opaque on the panel.
        SDL_Surface* text = TTF_RenderUTF8_Solid(font, piece.text.c_str(), piece.colour);
        if (text == nullptr) {
            continue;
        }
        SDL_Rect at = {static_cast<Sint16>(std::min(piece.x, 32767)), static_cast<Sint16>(piece.y),
                       0, 0};
        SDL_BlitSurface(text, nullptr, panel, &at);
        SDL_FreeSurface(text);
    }
    texture = KZ_ResourceManager::sdlSurfaceToTexture(panel);
    SDL_FreeSurface(panel);
}

void ScriptOverlay::draw(KZ_Graphics*) {
    if (!laidOut || drawnGeneration != board->getGeneration()) {
        layOut();
    }
    if (texture == 0) {
        return;
    }
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture);
    glBegin(GL_QUADS);
    glTexCoord2i(0, 0);
    glVertex3i(0, 0, z);
    glTexCoord2i(0, 1);
    glVertex3i(0, textureHeight, z);
    glTexCoord2i(1, 1);
    glVertex3i(textureWidth, textureHeight, z);
    glTexCoord2i(1, 0);
    glVertex3i(textureWidth, 0, z);
    glEnd();
    glDisable(GL_TEXTURE_2D);
}
