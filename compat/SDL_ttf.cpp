// SDL_ttf 2.0.11 on FreeType (include/SDL/SDL_ttf.h), for the builds that
// cannot use the original library: fonts opened at a point size (scalable
// fonts) or by strike number (bitmap-only fonts), text in UTF-8 or Latin-1
// measured and rendered "solid": an 8-bit surface whose colour 0 is the
// transparent colour key and colour 1 the text's colour. Metrics, glyph
// placement, kerning, text decoding and error messages are SDL_ttf's, so a
// line comes out with the same size and the very same pixels.

#include <SDL/SDL.h>
#include <SDL/SDL_ttf.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include <cstring>
#include <map>
#include <new>
#include <set>
#include <vector>

namespace {

FT_Library library = nullptr;
int initialised = 0; // TTF_Init calls not yet matched by TTF_Quit
bool byteSwapped = false;
// The fonts open, whose FreeType faces go with the library at the last
// TTF_Quit: closing one afterwards must not free its face again.
std::set<TTF_Font*> openFonts;

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
    SDL_RWops* src;
    FT_StreamRec stream;
    FT_Face face;
    int strike; // bitmap-only fonts: the strike in use
    int ascent, descent, height, lineskip;
    std::map<Uint16, Glyph> glyphs;
};

namespace {

// FreeType reads the font through the SDL stream, as SDL_ttf does.
unsigned long readStream(FT_Stream stream, unsigned long offset, unsigned char* buffer,
                         unsigned long count) {
    SDL_RWops* src = static_cast<SDL_RWops*>(stream->descriptor.pointer);
    SDL_RWseek(src, long(offset), RW_SEEK_SET);
    if (count == 0) {
        return 0;
    }
    const long read = long(SDL_RWread(src, buffer, 1, int(count)));
    return read > 0 ? static_cast<unsigned long>(read) : 0;
}

// A glyph's metrics and its picture, one byte per pixel, loaded once.
// Grey bitmaps (embedded ones) are ink from half intensity up, whatever
// their depth.
const Glyph* glyphOf(TTF_Font* font, Uint16 ch) {
    const auto found = font->glyphs.find(ch);
    if (found != font->glyphs.end()) {
        return &found->second;
    }
    FT_Face face = font->face;
    if (face == nullptr) {
        SDL_SetError("Library not initialized");
        return nullptr;
    }
    Glyph g;
    g.index = FT_Get_Char_Index(face, ch);
    FT_Error error = FT_Load_Glyph(face, g.index, FT_LOAD_DEFAULT);
    if (error == 0) {
        error = FT_Render_Glyph(face->glyph, FT_RENDER_MODE_MONO);
    }
    if (error != 0) {
        SDL_SetError("Couldn't find glyph");
        return nullptr;
    }
    const FT_Glyph_Metrics& m = face->glyph->metrics;
    g.minx = floor64(m.horiBearingX);
    g.maxy = floor64(m.horiBearingY);
    g.advance = ceil64(m.horiAdvance);
    if (FT_IS_SCALABLE(face)) {
        g.maxx = g.minx + ceil64(m.width);
        g.miny = g.maxy - ceil64(m.height);
        g.yoffset = font->ascent - g.maxy;
    } else {
        // FreeType gives bitmap-only fonts few metrics; SDL_ttf makes do.
        g.maxx = g.minx + ceil64(m.horiAdvance);
        g.miny = g.maxy - ceil64(face->available_sizes[font->strike].height);
        g.yoffset = 0;
    }

    const FT_Bitmap& src = face->glyph->bitmap;
    g.width = int(src.width);
    g.rows = int(src.rows);
    const int perByte = src.pixel_mode == FT_PIXEL_MODE_MONO    ? 8
                        : src.pixel_mode == FT_PIXEL_MODE_GRAY2 ? 4
                        : src.pixel_mode == FT_PIXEL_MODE_GRAY4 ? 2
                                                                : 1;
    const int bits = 8 / perByte;
    g.pitch = src.pitch * perByte;
    g.bits.assign(std::size_t(g.pitch > 0 ? g.pitch : 0) * std::size_t(g.rows), 0);
    for (int row = 0; row < g.rows && g.pitch > 0; ++row) {
        const unsigned char* s = src.buffer + row * src.pitch;
        unsigned char* d = g.bits.data() + row * g.pitch;
        // Whole bytes of the source row, as far as the glyph is wide.
        const int bytes = (g.width + perByte - 1) / perByte;
        for (int i = 0; i < bytes; ++i) {
            for (int k = 0; k < perByte; ++k) {
                const unsigned value = (s[i] >> (8 - bits * (k + 1))) & ((1u << bits) - 1);
                d[i * perByte + k] = value >= (1u << (bits - 1)) ? 1 : 0;
            }
        }
    }
    return &font->glyphs.emplace(ch, std::move(g)).first->second;
}

// Text is decoded as SDL_ttf 2.0.11 decodes it: a UTF-8 lead byte takes as
// many following bytes as it announces, whatever they are, the character is
// kept to 16 bits, and a character that comes out as 0 ends the text; a
// byte-order mark switches byte swapping for the rest and is skipped. Unlike
// SDL_ttf, a sequence cut short by the end of the text stops there instead
// of reading past it.
std::vector<Uint16> decodeUtf8(const char* text) {
    std::vector<Uint16> out;
    if (text == nullptr) {
        return out;
    }
    const unsigned char* s = reinterpret_cast<const unsigned char*>(text);
    auto next = [&s]() -> Uint16 { return *s != 0 ? Uint16(*s++ & 0x3F) : 0; };
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
        if (ch == 0) {
            break;
        }
        out.push_back(ch);
    }
    return out;
}

std::vector<Uint16> decodeLatin1(const char* text) {
    std::vector<Uint16> out;
    if (text == nullptr) {
        return out;
    }
    for (const unsigned char* s = reinterpret_cast<const unsigned char*>(text); *s != 0; ++s) {
        out.push_back(*s);
    }
    return out;
}

// The characters to draw: byte-order marks applied and dropped.
std::vector<Uint16> characters(std::vector<Uint16> text) {
    std::vector<Uint16> out;
    bool swapped = byteSwapped;
    for (Uint16 ch : text) {
        if (ch == UNICODE_BOM_NATIVE || ch == UNICODE_BOM_SWAPPED) {
            swapped = ch == UNICODE_BOM_SWAPPED;
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

int size(TTF_Font* font, const std::vector<Uint16>& text, int* w, int* h) {
    int x = 0, minx = 0, maxx = 0, miny = 0;
    FT_UInt previous = 0;
    for (const Uint16 c : text) {
        const Glyph* g = glyphOf(font, c);
        if (g == nullptr) {
            return -1;
        }
        x += kerning(font, previous, g->index);
        minx = x + g->minx < minx ? x + g->minx : minx;
        const int right = x + (g->advance > g->maxx ? g->advance : g->maxx);
        maxx = right > maxx ? right : maxx;
        x += g->advance;
        miny = g->miny < miny ? g->miny : miny;
        previous = g->index;
    }
    // From the leftmost ink (left of the pen for some first letters) to the
    // rightmost ink or pen position; the font's height, or more where ink
    // goes below the font's descent.
    if (w != nullptr) {
        *w = maxx - minx;
    }
    if (h != nullptr) {
        *h = font->ascent - miny > font->height ? font->ascent - miny : font->height;
    }
    return 0;
}

SDL_Surface* renderSolid(TTF_Font* font, const std::vector<Uint16>& text, SDL_Color fg) {
    int width = 0, height = 0;
    if (size(font, text, &width, &height) < 0 || width == 0) {
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
    for (const Uint16 c : text) {
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
            // As in SDL_ttf, ink beyond the row's end goes on at the start of
            // the next row; ink before the surface's first pixel is dropped.
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

} // namespace

extern "C" {

const SDL_version* TTF_Linked_Version(void) {
    static SDL_version version;
    SDL_TTF_VERSION(&version);
    return &version;
}

void TTF_ByteSwappedUNICODE(int swapped) {
    byteSwapped = swapped != 0;
}

int TTF_Init(void) {
    if (initialised == 0 && FT_Init_FreeType(&library) != 0) {
        SDL_SetError("Couldn't init FreeType engine");
        return -1;
    }
    ++initialised;
    return 0;
}

int TTF_WasInit(void) {
    return initialised;
}

void TTF_Quit(void) {
    if (initialised > 0 && --initialised == 0) {
        FT_Done_FreeType(library);
        library = nullptr;
        for (TTF_Font* font : openFonts) {
            font->face = nullptr;
            font->glyphs.clear();
        }
    }
}

TTF_Font* TTF_OpenFont(const char* file, int ptsize) {
    SDL_RWops* src = SDL_RWFromFile(file, "rb");
    if (src == nullptr) {
        SDL_SetError("%s", SDL_GetError());
        return nullptr;
    }
    if (initialised == 0) {
        SDL_SetError("Library not initialized");
        SDL_RWclose(src);
        return nullptr;
    }
    const long position = SDL_RWtell(src);
    if (position < 0) {
        SDL_SetError("Can't seek in stream");
        SDL_RWclose(src);
        return nullptr;
    }
    TTF_Font* font = new (std::nothrow) TTF_Font();
    if (font == nullptr) {
        SDL_SetError("Out of memory");
        SDL_RWclose(src);
        return nullptr;
    }
    font->src = src;
    font->stream.descriptor.pointer = src;
    font->stream.read = readStream;
    font->stream.pos = static_cast<unsigned long>(position);
    SDL_RWseek(src, 0, RW_SEEK_END);
    font->stream.size = static_cast<unsigned long>(SDL_RWtell(src) - position);
    FT_Open_Args args;
    std::memset(&args, 0, sizeof args);
    args.flags = FT_OPEN_STREAM;
    args.stream = &font->stream;
    if (FT_Open_Face(library, &args, 0, &font->face) != 0) {
        SDL_SetError("Couldn't load font file");
        TTF_CloseFont(font);
        return nullptr;
    }
    openFonts.insert(font);
    FT_Face face = font->face;
    // A Unicode character map where the font has one (else FreeType's pick).
    for (int i = 0; i < face->num_charmaps; ++i) {
        const FT_CharMap map = face->charmaps[i];
        if ((map->platform_id == 3 && (map->encoding_id == 1 || map->encoding_id == 0)) ||
            (map->platform_id == 2 && map->encoding_id == 1) || map->platform_id == 0) {
            FT_Set_Charmap(face, map);
            break;
        }
    }
    if (FT_IS_SCALABLE(face)) {
        if (FT_Set_Char_Size(face, 0, ptsize * 64, 0, 0) != 0) {
            SDL_SetError("Couldn't set font size");
            TTF_CloseFont(font);
            return nullptr;
        }
        const FT_Fixed scale = face->size->metrics.y_scale;
        font->ascent = ceil64(FT_MulFix(face->ascender, scale));
        font->descent = ceil64(FT_MulFix(face->descender, scale));
        font->height = font->ascent - font->descent + 1; // the baseline's row too
        font->lineskip = ceil64(FT_MulFix(face->height, scale));
    } else {
        // A bitmap-only font: the size picks one of its strikes, the last
        // one when there are fewer.
        if (face->num_fixed_sizes <= 0) {
            SDL_SetError("Couldn't set font size");
            TTF_CloseFont(font);
            return nullptr;
        }
        font->strike = ptsize >= face->num_fixed_sizes ? face->num_fixed_sizes - 1
                       : ptsize < 0                    ? 0
                                                       : ptsize;
        const FT_Bitmap_Size& strike = face->available_sizes[font->strike];
        FT_Set_Pixel_Sizes(face, FT_UInt(strike.height), FT_UInt(strike.width));
        font->ascent = strike.height;
        font->descent = 0;
        font->height = strike.height;
        font->lineskip = ceil64(font->ascent);
    }
    return font;
}

void TTF_CloseFont(TTF_Font* font) {
    if (font != nullptr) {
        openFonts.erase(font);
        if (font->face != nullptr) {
            FT_Done_Face(font->face);
        }
        SDL_RWclose(font->src);
        delete font;
    }
}

int TTF_FontHeight(const TTF_Font* font) {
    return font->height;
}

int TTF_FontAscent(const TTF_Font* font) {
    return font->ascent;
}

int TTF_FontDescent(const TTF_Font* font) {
    return font->descent;
}

int TTF_FontLineSkip(const TTF_Font* font) {
    return font->lineskip;
}

int TTF_SizeText(TTF_Font* font, const char* text, int* w, int* h) {
    return size(font, characters(decodeLatin1(text)), w, h);
}

int TTF_SizeUTF8(TTF_Font* font, const char* text, int* w, int* h) {
    return size(font, characters(decodeUtf8(text)), w, h);
}

SDL_Surface* TTF_RenderText_Solid(TTF_Font* font, const char* text, SDL_Color fg) {
    return renderSolid(font, characters(decodeLatin1(text)), fg);
}

SDL_Surface* TTF_RenderUTF8_Solid(TTF_Font* font, const char* text, SDL_Color fg) {
    return renderSolid(font, characters(decodeUtf8(text)), fg);
}

} // extern "C"
