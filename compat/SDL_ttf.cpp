// SDL_ttf 2.0.11 on FreeType (include/SDL/SDL_ttf.h), for the builds that
// cannot use the original library: fonts opened at a point size (scalable
// fonts) or by strike number (bitmap-only fonts), text in Latin-1, UTF-8 or
// UCS-2 measured and rendered
// - solid: an 8-bit surface whose colour 0 is the transparent colour key and
//   colour 1 the text's colour;
// - shaded: an 8-bit surface of 256 colours from the background's to the
//   text's;
// - blended: a 32-bit surface of the text's colour whose alpha is the ink.
// Metrics, glyph placement, kerning, hinting, text decoding and error messages
// are SDL_ttf's, so a line comes out with the same size and the very same
// pixels.

#include <SDL/SDL.h>
#include <SDL/SDL_ttf.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_GLYPH_H
#include FT_OUTLINE_H
#include FT_STROKER_H
#include <algorithm>
#include <cmath>
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

// One byte per pixel: 0 or 1 for solid text, 0 to 255 for the others.
struct Picture {
    bool loaded = false;
    int width = 0, rows = 0, pitch = 0;
    std::vector<unsigned char> pixels;
};

struct Glyph {
    FT_UInt index;
    int minx, maxx, miny, maxy, yoffset, advance;
    Picture bitmap, pixmap;
};

enum Kind { SOLID, SHADED, BLENDED };

} // namespace

struct _TTF_Font {
    SDL_RWops* src;
    bool closeSource;
    FT_StreamRec stream;
    FT_Face face;
    int strike; // bitmap-only fonts: the strike in use
    int ascent, descent, height, lineskip;
    bool kerning;
    FT_Int32 hinting;     // FreeType's load flags for TTF_SetFontHinting's choice
    int style, faceStyle; // TTF_STYLE_*: asked for, and the face's own
    int outline;          // pixels of outline around each glyph, 0 for none
    int overhang;         // bold: pixels added to the right of each glyph
    float italics;        // italic: the slant's width over the font's height
    int underlineOffset, underlineHeight;
    std::map<Uint16, Glyph> glyphs;
    // Bold and italic are drawn where the face is not so already.
    bool bold() const { return (style & TTF_STYLE_BOLD) && !(faceStyle & TTF_STYLE_BOLD); }
    bool italic() const { return (style & TTF_STYLE_ITALIC) && !(faceStyle & TTF_STYLE_ITALIC); }
    int italicBump() const { return int(std::ceil(italics)); }
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

// A FreeType bitmap as one byte per pixel, as SDL_ttf converts it: for solid
// text, ink from half intensity up whatever the depth; for the others, a
// 1-bit bitmap as 0 or 255 and 4-bit grey level v as 256 v / 15 - 1. 2-bit
// grey has only 0 and 169: SDL_ttf reads each pixel's high bit alone.
Picture convert(const FT_Bitmap& src, bool solid, int bump) {
    Picture p;
    p.loaded = true;
    p.width = int(src.width) + bump;
    p.rows = int(src.rows);
    const int perByte = src.pixel_mode == FT_PIXEL_MODE_MONO    ? 8
                        : src.pixel_mode == FT_PIXEL_MODE_GRAY2 ? 4
                        : src.pixel_mode == FT_PIXEL_MODE_GRAY4 ? 2
                                                                : 1;
    const int bits = 8 / perByte;
    p.pitch = src.pitch * perByte + bump;
    if (src.pitch <= 0) {
        p.rows = 0;
        return p;
    }
    p.pixels.assign(std::size_t(p.pitch) * std::size_t(p.rows), 0);
    for (int row = 0; row < p.rows; ++row) {
        const unsigned char* s = src.buffer + row * src.pitch;
        unsigned char* d = p.pixels.data() + row * p.pitch;
        if (perByte == 1 && !solid) {
            std::memcpy(d, s, std::size_t(src.pitch));
            continue;
        }
        // Whole bytes of the source row, as far as the glyph is wide.
        for (int i = 0; i < (int(src.width) + perByte - 1) / perByte; ++i) {
            for (int k = 0; k < perByte; ++k) {
                const unsigned c = Uint8(s[i] << (bits * k));
                const unsigned top = c >> (8 - bits); // this pixel's level
                if (solid) {
                    *d++ = top >= (1u << (bits - 1)) ? 1 : 0;
                } else if (bits == 1) {
                    *d++ = top != 0 ? 255 : 0;
                } else {
                    const unsigned v = bits == 2 ? (c & 0xA0) >> 6 : top;
                    *d++ = v != 0 ? Uint8(256 * v / ((1u << bits) - 1) - 1) : 0;
                }
            }
        }
    }
    return p;
}

// A glyph's metrics, and the picture asked for, loaded once.
const Glyph* glyphOf(TTF_Font* font, Uint16 ch, Kind kind = SOLID, bool picture = false) {
    FT_Face face = font->face;
    if (face == nullptr) {
        SDL_SetError("Library not initialized");
        return nullptr;
    }
    auto found = font->glyphs.find(ch);
    const bool known = found != font->glyphs.end();
    const bool draw =
        picture &&
        (!known || !(kind == SOLID ? found->second.bitmap : found->second.pixmap).loaded);
    if (known && !draw) {
        return &found->second;
    }
    const FT_UInt index = FT_Get_Char_Index(face, ch);
    if (FT_Load_Glyph(face, index, FT_LOAD_DEFAULT | font->hinting) != 0) {
        SDL_SetError("Couldn't find glyph");
        return nullptr;
    }
    if (!known) {
        Glyph g;
        g.index = index;
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
        g.maxx += (font->bold() ? font->overhang : 0) + (font->italic() ? font->italicBump() : 0);
        found = font->glyphs.emplace(ch, std::move(g)).first;
    }
    Glyph& g = found->second;
    Picture& wanted = kind == SOLID ? g.bitmap : g.pixmap;
    if (draw) {
        if (font->italic() && face->glyph->format == FT_GLYPH_FORMAT_OUTLINE) {
            FT_Matrix shear = {1 << 16, FT_Fixed(font->italics * (1 << 16)) / font->height, 0,
                               1 << 16};
            FT_Outline_Transform(&face->glyph->outline, &shear);
        }
        const FT_Render_Mode mode = kind == SOLID ? FT_RENDER_MODE_MONO : FT_RENDER_MODE_NORMAL;
        const int bump =
            (font->bold() ? font->overhang : 0) + (font->italic() ? font->italicBump() : 0);
        if (font->outline > 0 && face->glyph->format != FT_GLYPH_FORMAT_BITMAP) {
            // The outline alone: the glyph's contour stroked round, drawn as
            // large as it comes out.
            FT_Glyph glyph = nullptr;
            FT_Stroker stroker = nullptr;
            FT_Error error = FT_Get_Glyph(face->glyph, &glyph);
            if (error == 0 && (error = FT_Stroker_New(library, &stroker)) == 0) {
                FT_Stroker_Set(stroker, font->outline * 64, FT_STROKER_LINECAP_ROUND,
                               FT_STROKER_LINEJOIN_ROUND, 0);
                FT_Glyph_Stroke(&glyph, stroker, 1);
                FT_Stroker_Done(stroker);
                error = FT_Glyph_To_Bitmap(&glyph, mode, nullptr, 1);
            }
            if (error == 0) {
                wanted =
                    convert(reinterpret_cast<FT_BitmapGlyph>(glyph)->bitmap, kind == SOLID, bump);
            }
            FT_Done_Glyph(glyph);
            if (error != 0) {
                SDL_SetError("Couldn't find glyph");
                return nullptr;
            }
        } else if (FT_Render_Glyph(face->glyph, mode) != 0) {
            SDL_SetError("Couldn't find glyph");
            return nullptr;
        } else {
            wanted = convert(face->glyph->bitmap, kind == SOLID, bump);
        }
        // Bold: every pixel spread right by the overhang, summed up to full ink.
        for (int row = 0; font->bold() && row < wanted.rows; ++row) {
            Uint8* line = wanted.pixels.data() + row * wanted.pitch;
            for (int offset = 1; offset <= font->overhang; ++offset) {
                for (int col = wanted.width - 1; col > 0; --col) {
                    line[col] = kind == SOLID ? Uint8(line[col] | line[col - 1])
                                              : Uint8(std::min(line[col] + line[col - 1], 255));
                }
            }
        }
    }
    return &g;
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

std::vector<Uint16> decodeUcs2(const Uint16* text) {
    std::vector<Uint16> out;
    for (; text != nullptr && *text != 0; ++text) {
        out.push_back(*text);
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
    if (!FT_HAS_KERNING(font->face) || !font->kerning || previous == 0 || index == 0) {
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
        x += font->bold() ? font->overhang : 0;
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
        *w = maxx - minx + 2 * font->outline;
    }
    if (h != nullptr) {
        *h = std::max(font->ascent - miny + 2 * font->outline, font->height);
        if (font->style & TTF_STYLE_UNDERLINE) { // down to the underline's last row
            *h = std::max(*h, font->ascent - font->underlineOffset - 1 + font->underlineHeight +
                                  2 * font->outline);
        }
    }
    return 0;
}

// An empty surface for text of a kind: its palette and colour key, or all of
// it the text's colour, transparent.
SDL_Surface* createSurface(Kind kind, int width, int height, SDL_Color fg, SDL_Color bg) {
    SDL_Surface* surface = kind == BLENDED
                               ? SDL_CreateRGBSurface(SDL_SWSURFACE, width, height, 32, 0x00FF0000,
                                                      0x0000FF00, 0x000000FF, 0xFF000000)
                               : SDL_CreateRGBSurface(SDL_SWSURFACE, width, height, 8, 0, 0, 0, 0);
    if (surface == nullptr) {
        return nullptr;
    }
    // SDL_SetColors, not SDL_SetPalette(..., 0, ...): without SDL_LOGPAL in its
    // flags SDL 1.2 sets no colour at all, and the text would come out black.
    if (kind == SOLID) {
        SDL_Color colours[2] = {{Uint8(255 - fg.r), Uint8(255 - fg.g), Uint8(255 - fg.b), 0},
                                {fg.r, fg.g, fg.b, 0}};
        SDL_SetColors(surface, colours, 0, 2);
        SDL_SetColorKey(surface, SDL_SRCCOLORKEY, 0);
    } else if (kind == SHADED) {
        SDL_Color colours[256];
        for (int i = 0; i < 256; ++i) {
            colours[i].r = Uint8(bg.r + i * (fg.r - bg.r) / 255);
            colours[i].g = Uint8(bg.g + i * (fg.g - bg.g) / 255);
            colours[i].b = Uint8(bg.b + i * (fg.b - bg.b) / 255);
            colours[i].unused = 0;
        }
        SDL_SetColors(surface, colours, 0, 256);
    } else {
        // The text's colour, transparent.
        SDL_FillRect(surface, nullptr, Uint32(fg.r) << 16 | Uint32(fg.g) << 8 | fg.b);
    }
    return surface;
}

// Underline below the baseline, strikethrough at half the font's height:
// whole rows of ink across the surface (from its top, for a row above it);
// shift: how far below the text's top the surface starts.
void drawLines(TTF_Font* font, SDL_Surface* surface, Kind kind, SDL_Color fg, int shift) {
    Uint8* pixels = static_cast<Uint8*>(surface->pixels);
    const Uint8* end = pixels + surface->pitch * surface->h;
    const Uint32 pixel = 0xFF000000 | Uint32(fg.r) << 16 | Uint32(fg.g) << 8 | fg.b;
    for (const int style : {TTF_STYLE_UNDERLINE, TTF_STYLE_STRIKETHROUGH}) {
        if ((font->style & style) == 0) {
            continue;
        }
        const int top = (style == TTF_STYLE_UNDERLINE ? font->ascent - font->underlineOffset - 1
                                                      : font->height / 2) -
                        shift;
        Uint8* d = pixels + std::max(top, 0) * surface->pitch;
        // Outlined, a line is as much thicker as the outline makes glyphs.
        for (int line = font->underlineHeight + 2 * font->outline; line > 0 && d < end;
             --line, d += surface->pitch) {
            for (int x = 0; x < surface->w; ++x) {
                if (kind == BLENDED) {
                    std::memcpy(d + 4 * x, &pixel, 4);
                } else {
                    d[x] = kind == SOLID ? 1 : 255;
                }
            }
        }
    }
}

SDL_Surface* render(TTF_Font* font, const std::vector<Uint16>& text, Kind kind, SDL_Color fg,
                    SDL_Color bg = SDL_Color()) {
    int width = 0, height = 0;
    if (size(font, text, &width, &height) < 0 || width == 0) {
        SDL_SetError("Text has zero width");
        return nullptr;
    }
    SDL_Surface* surface = createSurface(kind, width, height, fg, bg);
    if (surface == nullptr) {
        return nullptr;
    }
    const Uint32 pixel = Uint32(fg.r) << 16 | Uint32(fg.g) << 8 | fg.b;

    const int bytes = surface->format->BytesPerPixel;
    Uint8* pixels = static_cast<Uint8*>(surface->pixels);
    const Uint8* end = pixels + surface->pitch * surface->h;
    int xstart = 0;
    bool first = true;
    FT_UInt previous = 0;
    for (const Uint16 c : text) {
        const Glyph* g = glyphOf(font, c, kind, true);
        if (g == nullptr) {
            SDL_FreeSurface(surface);
            return nullptr;
        }
        const Picture& picture = kind == SOLID ? g->bitmap : g->pixmap;
        // FreeType's bitmap may be wider than the glyph's box (an outline's is).
        const int cols =
            font->outline > 0 ? picture.width : std::min(picture.width, g->maxx - g->minx);
        xstart += kerning(font, previous, g->index);
        if (first && g->minx < 0) {
            xstart -= g->minx; // ink left of the pen would wrap to the row above
        }
        first = false;
        for (int row = 0; row < picture.rows; ++row) {
            const int y = row + g->yoffset;
            if (y < 0 || y >= surface->h) {
                continue;
            }
            // As in SDL_ttf, ink beyond the row's end goes on at the start of
            // the next row; ink before the surface's first pixel is dropped.
            Uint8* d = pixels + y * surface->pitch + (xstart + g->minx) * bytes;
            const unsigned char* b = picture.pixels.data() + row * picture.pitch;
            for (int col = cols; col > 0 && d < end; --col, d += bytes, ++b) {
                if (d < pixels) {
                    continue;
                }
                if (kind == BLENDED) {
                    Uint32 value;
                    std::memcpy(&value, d, 4);
                    value |= pixel | Uint32(*b) << 24;
                    std::memcpy(d, &value, 4);
                } else {
                    *d |= *b;
                }
            }
        }
        xstart += g->advance + (font->bold() ? font->overhang : 0);
        previous = g->index;
    }
    drawLines(font, surface, kind, fg, 0);
    return surface;
}

// One glyph's own picture, as large as its bitmap, without its bearings.
SDL_Surface* renderGlyph(TTF_Font* font, Uint16 ch, Kind kind, SDL_Color fg,
                         SDL_Color bg = SDL_Color()) {
    const Glyph* g = glyphOf(font, ch, kind, true);
    if (g == nullptr) {
        return nullptr;
    }
    const Picture& picture = kind == SOLID ? g->bitmap : g->pixmap;
    // Tall enough for the underline, which is placed as in a line of text.
    const int shift = font->ascent - g->maxy;
    const int rows =
        (font->style & TTF_STYLE_UNDERLINE)
            ? std::max(picture.rows, font->ascent - font->underlineOffset - 1 +
                                         font->underlineHeight + 2 * font->outline - shift)
            : picture.rows;
    SDL_Surface* surface = createSurface(kind, picture.width, rows, fg, bg);
    if (surface == nullptr) {
        return nullptr;
    }
    const Uint32 pixel = Uint32(fg.r) << 16 | Uint32(fg.g) << 8 | fg.b;
    for (int row = 0; row < picture.rows; ++row) {
        const unsigned char* b = picture.pixels.data() + row * picture.pitch;
        Uint8* d = static_cast<Uint8*>(surface->pixels) + row * surface->pitch;
        for (int col = 0; col < picture.width; ++col) {
            if (kind == BLENDED) {
                const Uint32 value = pixel | Uint32(b[col]) << 24;
                std::memcpy(d + 4 * col, &value, 4);
            } else {
                d[col] = b[col];
            }
        }
    }
    drawLines(font, surface, kind, fg, shift);
    return surface;
}

// Glyphs are loaded afresh after a change of hinting or style, but for
// character 0's, which SDL_ttf keeps.
void forgetGlyphs(TTF_Font* font) {
    for (auto g = font->glyphs.begin(); g != font->glyphs.end();) {
        g = g->first != 0 ? font->glyphs.erase(g) : std::next(g);
    }
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

TTF_Font* TTF_OpenFontIndexRW(SDL_RWops* src, int freesrc, int ptsize, long index) {
    if (src == nullptr) {
        SDL_SetError("Passed a NULL font source");
        return nullptr;
    }
    if (initialised == 0) {
        SDL_SetError("Library not initialized");
        if (freesrc != 0) {
            SDL_RWclose(src);
        }
        return nullptr;
    }
    const long position = SDL_RWtell(src);
    TTF_Font* font = position < 0 ? nullptr : new (std::nothrow) TTF_Font();
    if (font == nullptr) {
        SDL_SetError(position < 0 ? "Can't seek in stream" : "Out of memory");
        if (freesrc != 0) {
            SDL_RWclose(src);
        }
        return nullptr;
    }
    font->src = src;
    font->closeSource = freesrc != 0;
    font->kerning = true;
    font->stream.descriptor.pointer = src;
    font->stream.read = readStream;
    font->stream.pos = static_cast<unsigned long>(position);
    SDL_RWseek(src, 0, RW_SEEK_END);
    font->stream.size = static_cast<unsigned long>(SDL_RWtell(src) - position);
    SDL_RWseek(src, position, RW_SEEK_SET);
    FT_Open_Args args;
    std::memset(&args, 0, sizeof args);
    args.flags = FT_OPEN_STREAM;
    args.stream = &font->stream;
    if (FT_Open_Face(library, &args, index, &font->face) != 0) {
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
        font->underlineOffset = floor64(FT_MulFix(face->underline_position, scale));
        font->underlineHeight = std::max(floor64(FT_MulFix(face->underline_thickness, scale)), 1);
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
        font->underlineOffset = floor64(face->underline_position);
        font->underlineHeight = std::max(floor64(face->underline_thickness), 1);
    }
    font->faceStyle = ((face->style_flags & FT_STYLE_FLAG_BOLD) ? TTF_STYLE_BOLD : 0) |
                      ((face->style_flags & FT_STYLE_FLAG_ITALIC) ? TTF_STYLE_ITALIC : 0);
    font->style = font->faceStyle;
    font->overhang = face->size->metrics.y_ppem / 10;
    font->italics = 0.207f * float(font->height);
    return font;
}

TTF_Font* TTF_OpenFontRW(SDL_RWops* src, int freesrc, int ptsize) {
    return TTF_OpenFontIndexRW(src, freesrc, ptsize, 0);
}

TTF_Font* TTF_OpenFontIndex(const char* file, int ptsize, long index) {
    SDL_RWops* src = SDL_RWFromFile(file, "rb");
    if (src == nullptr) {
        SDL_SetError("%s", SDL_GetError());
        return nullptr;
    }
    return TTF_OpenFontIndexRW(src, 1, ptsize, index);
}

TTF_Font* TTF_OpenFont(const char* file, int ptsize) {
    return TTF_OpenFontIndex(file, ptsize, 0);
}

void TTF_CloseFont(TTF_Font* font) {
    if (font != nullptr) {
        openFonts.erase(font);
        if (font->face != nullptr) {
            FT_Done_Face(font->face);
        }
        if (font->closeSource) {
            SDL_RWclose(font->src);
        }
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

int TTF_GetFontStyle(const TTF_Font* font) {
    return font->style;
}

void TTF_SetFontStyle(TTF_Font* font, int style) {
    const int lines = TTF_STYLE_UNDERLINE | TTF_STYLE_STRIKETHROUGH; // glyphs stay as they are
    const int previous = font->style;
    font->style = style | font->faceStyle;
    if ((font->style | lines) != (previous | lines)) {
        forgetGlyphs(font);
    }
}

int TTF_GetFontOutline(const TTF_Font* font) {
    return font->outline;
}

void TTF_SetFontOutline(TTF_Font* font, int outline) {
    if (outline != font->outline) {
        font->outline = outline;
        forgetGlyphs(font);
    }
}

int TTF_GetFontKerning(const TTF_Font* font) {
    return font->kerning ? 1 : 0;
}

void TTF_SetFontKerning(TTF_Font* font, int allowed) {
    font->kerning = allowed != 0;
}

int TTF_GetFontHinting(const TTF_Font* font) {
    return font->hinting == FT_LOAD_TARGET_LIGHT  ? TTF_HINTING_LIGHT
           : font->hinting == FT_LOAD_TARGET_MONO ? TTF_HINTING_MONO
           : font->hinting == FT_LOAD_NO_HINTING  ? TTF_HINTING_NONE
                                                  : TTF_HINTING_NORMAL;
}

void TTF_SetFontHinting(TTF_Font* font, int hinting) {
    const FT_Int32 flags = hinting == TTF_HINTING_LIGHT  ? FT_LOAD_TARGET_LIGHT
                           : hinting == TTF_HINTING_MONO ? FT_LOAD_TARGET_MONO
                           : hinting == TTF_HINTING_NONE ? FT_LOAD_NO_HINTING
                                                         : 0;
    if (flags != font->hinting) {
        font->hinting = flags;
        forgetGlyphs(font);
    }
}

long TTF_FontFaces(const TTF_Font* font) {
    return font->face->num_faces;
}

int TTF_FontFaceIsFixedWidth(const TTF_Font* font) {
    return int(font->face->face_flags & FT_FACE_FLAG_FIXED_WIDTH); // SDL_ttf's non-zero: 4
}

char* TTF_FontFaceFamilyName(const TTF_Font* font) {
    return font->face->family_name;
}

char* TTF_FontFaceStyleName(const TTF_Font* font) {
    return font->face->style_name;
}

int TTF_GlyphIsProvided(const TTF_Font* font, Uint16 ch) {
    return int(FT_Get_Char_Index(font->face, ch));
}

int TTF_GlyphMetrics(TTF_Font* font, Uint16 ch, int* minx, int* maxx, int* miny, int* maxy,
                     int* advance) {
    const Glyph* g = glyphOf(font, ch);
    if (g == nullptr) {
        return -1;
    }
    const int overhang = font->bold() ? font->overhang : 0; // added once more, as SDL_ttf does
    for (const auto& out : {std::make_pair(minx, g->minx), std::make_pair(maxx, g->maxx + overhang),
                            std::make_pair(miny, g->miny), std::make_pair(maxy, g->maxy),
                            std::make_pair(advance, g->advance + overhang)}) {
        if (out.first != nullptr) {
            *out.first = out.second;
        }
    }
    return 0;
}

int TTF_SizeText(TTF_Font* font, const char* text, int* w, int* h) {
    return size(font, characters(decodeLatin1(text)), w, h);
}

int TTF_SizeUTF8(TTF_Font* font, const char* text, int* w, int* h) {
    return size(font, characters(decodeUtf8(text)), w, h);
}

int TTF_SizeUNICODE(TTF_Font* font, const Uint16* text, int* w, int* h) {
    return size(font, characters(decodeUcs2(text)), w, h);
}

SDL_Surface* TTF_RenderText_Solid(TTF_Font* font, const char* text, SDL_Color fg) {
    return render(font, characters(decodeLatin1(text)), SOLID, fg);
}

SDL_Surface* TTF_RenderUTF8_Solid(TTF_Font* font, const char* text, SDL_Color fg) {
    return render(font, characters(decodeUtf8(text)), SOLID, fg);
}

SDL_Surface* TTF_RenderUNICODE_Solid(TTF_Font* font, const Uint16* text, SDL_Color fg) {
    return render(font, characters(decodeUcs2(text)), SOLID, fg);
}

SDL_Surface* TTF_RenderGlyph_Solid(TTF_Font* font, Uint16 ch, SDL_Color fg) {
    return renderGlyph(font, ch, SOLID, fg);
}

SDL_Surface* TTF_RenderText_Shaded(TTF_Font* font, const char* text, SDL_Color fg, SDL_Color bg) {
    return render(font, characters(decodeLatin1(text)), SHADED, fg, bg);
}

SDL_Surface* TTF_RenderUTF8_Shaded(TTF_Font* font, const char* text, SDL_Color fg, SDL_Color bg) {
    return render(font, characters(decodeUtf8(text)), SHADED, fg, bg);
}

SDL_Surface* TTF_RenderUNICODE_Shaded(TTF_Font* font, const Uint16* text, SDL_Color fg,
                                      SDL_Color bg) {
    return render(font, characters(decodeUcs2(text)), SHADED, fg, bg);
}

SDL_Surface* TTF_RenderGlyph_Shaded(TTF_Font* font, Uint16 ch, SDL_Color fg, SDL_Color bg) {
    return renderGlyph(font, ch, SHADED, fg, bg);
}

SDL_Surface* TTF_RenderText_Blended(TTF_Font* font, const char* text, SDL_Color fg) {
    return render(font, characters(decodeLatin1(text)), BLENDED, fg);
}

SDL_Surface* TTF_RenderUTF8_Blended(TTF_Font* font, const char* text, SDL_Color fg) {
    return render(font, characters(decodeUtf8(text)), BLENDED, fg);
}

SDL_Surface* TTF_RenderUNICODE_Blended(TTF_Font* font, const Uint16* text, SDL_Color fg) {
    return render(font, characters(decodeUcs2(text)), BLENDED, fg);
}

SDL_Surface* TTF_RenderGlyph_Blended(TTF_Font* font, Uint16 ch, SDL_Color fg) {
    return renderGlyph(font, ch, BLENDED, fg);
}

} // extern "C"
