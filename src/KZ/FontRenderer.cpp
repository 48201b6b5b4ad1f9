#include "KZ/FontRenderer.h"

#include "KZ/Display.h"
#include "KZ/ResourceManager.h"

#include <algorithm>
#include <cassert>
#include <cstdio>

// A line is closed after this many words even if they all fit, so a text of
// endless blanks cannot keep the layout busy.
static const int MAX_WORDS_PER_LINE = 10000;

KZ_FontRenderer::KZ_FontRenderer(std::string path, int size)
    : textureBB()
    , bb()
    , size(size)
    , path(path)
    , texture(0)
    , font(nullptr) {
    loadGraphics();
}

KZ_FontRenderer::~KZ_FontRenderer() {
    if (texture != 0) {
        glDeleteTextures(1, &texture);
        texture = 0;
    }
    if (font != nullptr) {
        TTF_CloseFont(font);
        font = nullptr;
    }
}

void KZ_FontRenderer::loadGraphics() {
    if (font != nullptr) {
        TTF_CloseFont(font);
        font = nullptr;
    }
    font = TTF_OpenFont(path.c_str(), size);
    if (font == nullptr) {
        std::printf("Unable to load font: %s %s \n", path.c_str(), SDL_GetError());
        KZ_ResourceManager::fault("Could not load " + path + ": " +
                                  KZ_ResourceManager::whyNotLoaded(path, "font"));
    }
}

void KZ_FontRenderer::renderText(std::string text, int width) {
    if (texture != 0) {
        glDeleteTextures(1, &texture);
        texture = 0;
    }
    glGenTextures(1, &texture);
    SDL_Surface* surface = renderTextToSDLSurface(text, width);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    if (surface != nullptr) {
        if (SDL_MUSTLOCK(surface)) {
            SDL_LockSurface(surface);
        }
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, surface->w, surface->h, 0, GL_RGBA,
                     GL_UNSIGNED_BYTE, surface->pixels);
        if (SDL_MUSTLOCK(surface)) {
            SDL_UnlockSurface(surface);
        }
        SDL_FreeSurface(surface);
    } else {
        // No surface for the text: draw nothing rather than an undefined
        // texture. One transparent texel stretched over the quad does that.
        const unsigned char clear[4] = {0, 0, 0, 0};
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, clear);
    }
}

void KZ_FontRenderer::draw(int x, int y, int z) {
    // clang-format off
    assert(texture!=0);
    // clang-format on
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture);
    glBegin(GL_QUADS);
    glTexCoord2i(0, 0);
    glVertex3f(GLfloat(x), GLfloat(y), GLfloat(z));
    glTexCoord2i(0, 1);
    glVertex3f(GLfloat(x), GLfloat(y + textureBB.height), GLfloat(z));
    glTexCoord2i(1, 1);
    glVertex3f(GLfloat(x + textureBB.width), GLfloat(y + textureBB.height), GLfloat(z));
    glTexCoord2i(1, 0);
    glVertex3f(GLfloat(x + textureBB.width), GLfloat(y), GLfloat(z));
    glEnd();
    glDisable(GL_TEXTURE_2D);
}

int KZ_FontRenderer::getWidth() {
    return bb.width;
}

int KZ_FontRenderer::getHeight() {
    return bb.height;
}

void KZ_FontRenderer::setWidth(int width) {
    KZ_BoundingBox::resizeWidth(textureBB, bb, width);
}

void KZ_FontRenderer::setHeight(int height) {
    KZ_BoundingBox::resizeHeight(textureBB, bb, height);
}

int KZ_FontRenderer::powerOfTwo(int n) {
    return KZ_ResourceManager::powerOfTwo(n);
}

int KZ_FontRenderer::wrapHeight(std::string text, int width) {
    return wrapHeight(text, width, fontMeasure(), lineSkip());
}

SDL_Surface* KZ_FontRenderer::renderTextToSDLSurface(std::string text, int width) {
    const int skip = lineSkip();
    const Layout layout = layOut(text, width, fontMeasure(), skip);
    bb.width = layout.width;
    bb.height = layout.height;
    textureBB.width = powerOfTwo(layout.width);
    textureBB.height = powerOfTwo(layout.height);

    // Bytes R, G, B, A: the order the texture upload expects.
    SDL_Surface* surface = SDL_CreateRGBSurface(0, textureBB.width, textureBB.height, 32,
                                                0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000);
    if (surface == nullptr) {
        std::printf("Could not make a surface for the text: %s\n", SDL_GetError());
        return nullptr;
    }

    const SDL_Color white = {255, 255, 255, 0};
    for (std::size_t k = 0; k < layout.lines.size(); ++k) {
        const long top = static_cast<long>(k) * skip;
        // Blit positions are 16-bit; lines below the surface are clipped anyway.
        if (top >= surface->h || top > 32767) {
            break;
        }
        const Line& line = layout.lines[k];
        const std::string bytes = text.substr(line.start, line.end - line.start);
        // Solid rendering: a colour-keyed surface whose glyph pixels land
        // opaque white on the transparent text surface.
        if (font == nullptr) {
            break; // a font that could not be opened draws nothing
        }
        SDL_Surface* rendered = TTF_RenderUTF8_Solid(font, bytes.c_str(), white);
        if (rendered == nullptr) {
            continue; // nothing to draw on this line (e.g. zero width)
        }
        SDL_Rect at = {0, static_cast<Sint16>(top), 0, 0};
        SDL_UpperBlit(rendered, nullptr, surface, &at);
        SDL_FreeSurface(rendered);
    }
    return surface;
}

std::vector<KZ_FontRenderer::Line> KZ_FontRenderer::breakLines(const std::string& text, int limit,
                                                               const Measure& measure) {
    std::vector<Line> lines;
    const std::size_t length = text.size();
    // Every byte belongs to a line: laying out goes on while any is left, so a
    // last line of one character is kept and an empty text gives no line.
    std::size_t start = 0;
    while (start < length) {
        std::size_t end = start;    // candidate end: a blank or the text's end
        std::size_t fitted = start; // last end that fitted; start while none did
        bool closed = false;
        for (int tries = 0; tries < MAX_WORDS_PER_LINE && !closed; ++tries) {
            // Searching from one past the candidate keeps a blank at the
            // line's start with the line's first word.
            const std::size_t blank = text.find(' ', end + 1);
            end = blank == std::string::npos ? length : blank;
            if (measure(text, start, end).width <= limit) {
                if (end == length) {
                    closed = true;
                } else {
                    fitted = end;
                }
            } else {
                // Too wide: back off to the last end that fitted, or keep a
                // single over-wide word whole on a line of its own.
                if (fitted != start) {
                    end = fitted;
                }
                closed = true;
            }
        }
        // When the word limit closes the line, every word tried fitted, so
        // `end` is the last accepted blank and the line holds those words.
        lines.push_back({start, end});
        start = end + 1; // the blank at the break is dropped
    }
    return lines;
}

int KZ_FontRenderer::wrapHeight(const std::string& text, int width, const Measure& measure,
                                int lineSkip) {
    if (width < 0) {
        return measure(text, 0, text.size()).height;
    }
    const std::size_t lines = breakLines(text, width, measure).size();
    return static_cast<int>(lines + 1) * lineSkip;
}

KZ_FontRenderer::Layout KZ_FontRenderer::layOut(const std::string& text, int width,
                                                const Measure& measure, int lineSkip) {
    Layout layout;
    const int full = measure(text, 0, text.size()).width;
    layout.width = width > 0 ? std::min(width, full) : full;
    // The height takes the caller's width unchanged: at width 0 the text is
    // drawn on one line but counted one word per line.
    if (width >= 0 && layout.width == width) {
        // Both passes would break at the same limit: lay out once.
        layout.lines = breakLines(text, width, measure);
        layout.height = static_cast<int>(layout.lines.size() + 1) * lineSkip;
    } else {
        layout.height = wrapHeight(text, width, measure, lineSkip);
        layout.lines = breakLines(text, layout.width, measure);
    }
    return layout;
}

KZ_FontRenderer::Size KZ_FontRenderer::measure(const std::string& text, std::size_t start,
                                               std::size_t end) {
    Size size = {0, 0};
    if (font == nullptr) {
        return size;
    }
    const std::string bytes = text.substr(start, end - start);
    if (TTF_SizeUTF8(font, bytes.c_str(), &size.width, &size.height) != 0) {
        size.width = 0;
        size.height = 0;
    }
    return size;
}

KZ_FontRenderer::Measure KZ_FontRenderer::fontMeasure() {
    return [this](const std::string& text, std::size_t start, std::size_t end) {
        return measure(text, start, end);
    };
}

int KZ_FontRenderer::lineSkip() {
    return font != nullptr ? TTF_FontLineSkip(font) : 0;
}
