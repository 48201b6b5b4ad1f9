// The SDL_ttf 2.0 functions the engine uses, for the browser build, on
// FreeType: fonts opened at a point size, UTF-8 text measured and rendered
// "solid" (one bit per pixel, an 8-bit surface whose colour 0 is the
// transparent colour key and colour 1 the text's colour). The metrics,
// glyph placement and kerning are SDL_ttf 2.0's, so a line comes out with the
// same size and the very same pixels as on the desktop.

#include <SDL/SDL.h>
#include <SDL/SDL_ttf.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include <cstdio>
#include <cstring>
#include <map>
#include <vector>

namespace {

FT_Library library = nullptr;

// 26.6 fixed point to whole pixels, rounded down and up.
int floor64(FT_Pos x) {
    return int((x & -64) / 64);
}
int ceil64(FT_Pos x) {
    return int(((x + 63) & -64) / 64);
}

struct Glyph {
    FT_UInt index;
    int minx, maxx, miny, maxy, yoffset, advance;
    int width, rows, pitch;
    std::vector<unsigned char> bits; // one byte per pixel, 0 or 1
};

} // namespace

struct _TTF_Font {
    FT_Face face;
    int ascent, descent, height, lineskip;
    std::map<Uint16, Glyph> glyphs;
};

namespace {

// Loads a glyph's metrics and its one-bit picture, once.
const Glyph* glyphOf(TTF_Font* font, Uint16 ch) {
    const auto found = font->glyphs.find(ch);
    if (found != font->glyphs.end()) {
        return &found->second;
    }
    FT_Face face = font->face;
    Glyph g;
    g.index = FT_Get_Char_Index(face, ch);
    FT_Error error = FT_Load_Glyph(face, g.index, FT_LOAD_DEFAULT);
    if (error == 0) {
        error = FT_Render_Glyph(face->glyph, FT_RENDER_MODE_MONO);
    }
    if (error != 0) {
        SDL_SetError("Couldn't find glyph: FreeType error %d", error);
        return nullptr;
    }
    const FT_Glyph_Metrics& m = face->glyph->metrics;
    g.minx = floor64(m.horiBearingX);
    g.maxx = g.minx + ceil64(m.width);
    g.maxy = floor64(m.horiBearingY);
    g.miny = g.maxy - ceil64(m.height);
    g.yoffset = font->ascent - g.maxy;
    g.advance = ceil64(m.horiAdvance);

    // Bits to bytes; whole bytes of bits, so rows are a multiple of 8 wide.
    const FT_Bitmap& src = face->glyph->bitmap;
    g.width = int(src.width);
    g.rows = int(src.rows);
    g.pitch = src.pitch * 8;
    g.bits.assign(std::size_t(g.pitch) * std::size_t(g.rows), 0);
    for (int row = 0; row < g.rows; ++row) {
        const unsigned char* s = src.buffer + row * src.pitch;
        unsigned char* d = g.bits.data() + row * g.pitch;
        if (src.pixel_mode == FT_PIXEL_MODE_MONO) {
            for (int col = 0; col < g.pitch; ++col) {
                d[col] = (s[col / 8] >> (7 - col % 8)) & 1;
            }
        } else { // a grey bitmap (some embedded bitmaps): half and above is ink
            for (int col = 0; col < g.width; ++col) {
                d[col] = s[col] >= 0x80 ? 1 : 0;
            }
        }
    }
    return &font->glyphs.emplace(ch, std::move(g)).first->second;
}

// Text is decoded as SDL_ttf 2.0 decodes it: a lead byte takes as many
// following bytes as it announces, whatever they are, and the character is
// kept to 16 bits; a byte-order mark switches byte swapping for the rest.
// Unlike SDL_ttf, a sequence cut short by the end of the text stops there.
std::vector<Uint16> decode(const char* text) {
    std::vector<Uint16> out;
    const unsigned char* s = reinterpret_cast<const unsigned char*>(text);
    auto next = [&s]() -> Uint16 { return *s != 0 ? Uint16(*s++ & 0x3F) : 0; };
    bool swapped = false;
    while (*s != 0) {
        const unsigned lead = *s++;
        Uint16 ch = Uint16(lead);
        if (lead >= 0xF0) {
            ch = Uint16((lead & 0x07) << 18);
            ch |= Uint16(next() << 12);
            ch |= Uint16(next() << 6);
            ch |= next();
        } else if (lead >= 0xE0) {
            ch = Uint16((lead & 0x0F) << 12);
            ch |= Uint16(next() << 6);
            ch |= next();
        } else if (lead >= 0xC0) {
            ch = Uint16((lead & 0x1F) << 6);
            ch |= next();
        }
        if (ch == 0xFEFF || ch == 0xFFFE) {
            swapped = ch == 0xFFFE;
            continue;
        }
        out.push_back(swapped ? Uint16(ch << 8 | ch >> 8) : ch);
    }
    return out;
}

int kerning(TTF_Font* font, FT_UInt previous, FT_UInt index) {
    if (!FT_HAS_KERNING(font->face) || previous == 0 || index == 0) {
        return 0;
    }
    FT_Vector delta;
    FT_Get_Kerning(font->face, previous, index, FT_KERNING_DEFAULT, &delta);
    return int(delta.x >> 6);
}

} // namespace

extern "C" {

int TTF_Init() {
    if (library == nullptr && FT_Init_FreeType(&library) != 0) {
        SDL_SetError("Couldn't init FreeType engine");
        return -1;
    }
    return 0;
}

int TTF_WasInit() {
    return library != nullptr ? 1 : 0;
}

void TTF_Quit() {
    if (library != nullptr) {
        FT_Done_FreeType(library);
        library = nullptr;
    }
}

TTF_Font* TTF_OpenFont(const char* file, int ptsize) {
    if (library == nullptr) {
        SDL_SetError("Library not initialized");
        return nullptr;
    }
    std::FILE* f = std::fopen(file, "rb");
    if (f == nullptr) {
        SDL_SetError("Couldn't open %s", file);
        return nullptr;
    }
    std::fclose(f);
    FT_Face face = nullptr;
    if (FT_New_Face(library, file, 0, &face) != 0) {
        SDL_SetError("Couldn't load font file");
        return nullptr;
    }
    if (!FT_IS_SCALABLE(face) || FT_Set_Char_Size(face, 0, ptsize * 64, 0, 0) != 0) {
        FT_Done_Face(face);
        SDL_SetError("Couldn't set font size");
        return nullptr;
    }
    TTF_Font* font = new TTF_Font;
    font->face = face;
    const FT_Fixed scale = face->size->metrics.y_scale;
    font->ascent = ceil64(FT_MulFix(face->ascender, scale));
    font->descent = ceil64(FT_MulFix(face->descender, scale));
    font->height = font->ascent - font->descent + 1; // the baseline's row too
    font->lineskip = ceil64(FT_MulFix(face->height, scale));
    return font;
}

void TTF_CloseFont(TTF_Font* font) {
    if (font != nullptr) {
        FT_Done_Face(font->face);
        delete font;
    }
}

int TTF_FontHeight(const TTF_Font* font) {
    return font->height;
}

int TTF_FontLineSkip(const TTF_Font* font) {
    return font->lineskip;
}

int TTF_SizeUTF8(TTF_Font* font, const char* text, int* w, int* h) {
    int x = 0, minx = 0, maxx = 0;
    FT_UInt previous = 0;
    for (const Uint16 c : decode(text)) {
        const Glyph* g = glyphOf(font, c);
        if (g == nullptr) {
            return -1;
        }
        x += kerning(font, previous, g->index);
        minx = x + g->minx < minx ? x + g->minx : minx;
        const int right = x + (g->advance > g->maxx ? g->advance : g->maxx);
        maxx = right > maxx ? right : maxx;
        x += g->advance;
        previous = g->index;
    }
    // From the leftmost ink (left of the pen for some first letters) to the
    // rightmost ink or pen position; the height is the font's.
    if (w != nullptr) {
        *w = maxx - minx;
    }
    if (h != nullptr) {
        *h = font->height;
    }
    return 0;
}

SDL_Surface* TTF_RenderUTF8_Solid(TTF_Font* font, const char* text, SDL_Color fg) {
    int width = 0, height = 0;
    if (TTF_SizeUTF8(font, text, &width, &height) < 0 || width == 0) {
        SDL_SetError("Text has zero width");
        return nullptr;
    }
    SDL_Surface* surface = SDL_CreateRGBSurface(SDL_SWSURFACE, width, height, 8, 0, 0, 0, 0);
    if (surface == nullptr) {
        return nullptr;
    }
    SDL_Color colours[2] = {{Uint8(255 - fg.r), Uint8(255 - fg.g), Uint8(255 - fg.b), 0},
                            {fg.r, fg.g, fg.b, 0}};
    // SDL_SetColors, not SDL_SetPalette(..., 0, ...): without SDL_LOGPAL in its
    // flags SDL 1.2 sets no colour at all, and the text would come out black.
    SDL_SetColors(surface, colours, 0, 2);
    SDL_SetColorKey(surface, SDL_SRCCOLORKEY, 0);

    Uint8* pixels = static_cast<Uint8*>(surface->pixels);
    const Uint8* end = pixels + surface->pitch * surface->h;
    int xstart = 0;
    bool first = true;
    FT_UInt previous = 0;
    for (const Uint16 c : decode(text)) {
        const Glyph* g = glyphOf(font, c);
        if (g == nullptr) {
            SDL_FreeSurface(surface);
            return nullptr;
        }
        // FreeType's bitmap may be wider than the glyph's box.
        const int cols = g->width > g->maxx - g->minx ? g->maxx - g->minx : g->width;
        xstart += kerning(font, previous, g->index);
        if (first && g->minx < 0) {
            xstart -= g->minx; // ink left of the pen would wrap to the row above
        }
        first = false;
        for (int row = 0; row < g->rows; ++row) {
            const int y = row + g->yoffset;
            if (y < 0 || y >= surface->h) {
                continue;
            }
            Uint8* d = pixels + y * surface->pitch + xstart + g->minx;
            const unsigned char* b = g->bits.data() + row * g->pitch;
            for (int col = cols; col > 0 && d < end; --col, ++d, ++b) {
                if (d >= pixels) {
                    *d |= *b;
                }
            }
        }
        xstart += g->advance;
        previous = g->index;
    }
    return surface;
}

} // extern "C"
