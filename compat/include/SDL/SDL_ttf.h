/*
 * SDL_ttf for this project's Windows and web builds: the whole SDL_ttf
 * 2.0.11 API, which compat/SDL_ttf.cpp implements on FreeType, with SDL_ttf's
 * names, types, sizes and pixels. Not the original library: TTF_Linked_Version reports
 * 2.0.11 so that version checks pass, and SDL_TTF_COMPAT_BUILD names this
 * build. compat/README.md lists every known difference from the original.
 */
#ifndef _SDL_TTF_H
#define _SDL_TTF_H

#include "SDL.h"
#include "begin_code.h"

#ifdef __cplusplus
extern "C" {
#endif

#define SDL_TTF_MAJOR_VERSION 2
#define SDL_TTF_MINOR_VERSION 0
#define SDL_TTF_PATCHLEVEL 11
#define SDL_TTF_COMPAT_BUILD "2.0.11-demo"

#define SDL_TTF_VERSION(X)                                                                         \
    {                                                                                              \
        (X)->major = SDL_TTF_MAJOR_VERSION;                                                        \
        (X)->minor = SDL_TTF_MINOR_VERSION;                                                        \
        (X)->patch = SDL_TTF_PATCHLEVEL;                                                           \
    }
#define TTF_MAJOR_VERSION SDL_TTF_MAJOR_VERSION
#define TTF_MINOR_VERSION SDL_TTF_MINOR_VERSION
#define TTF_PATCHLEVEL SDL_TTF_PATCHLEVEL
#define TTF_VERSION(X) SDL_TTF_VERSION(X)

extern DECLSPEC const SDL_version* SDLCALL TTF_Linked_Version(void);

/* The byte-order marks; one in a text switches byte swapping for the rest of it. */
#define UNICODE_BOM_NATIVE 0xFEFF
#define UNICODE_BOM_SWAPPED 0xFFFE
extern DECLSPEC void SDLCALL TTF_ByteSwappedUNICODE(int swapped);

typedef struct _TTF_Font TTF_Font;

/* Counted: every TTF_Init needs its TTF_Quit. */
extern DECLSPEC int SDLCALL TTF_Init(void);
extern DECLSPEC int SDLCALL TTF_WasInit(void);
extern DECLSPEC void SDLCALL TTF_Quit(void);

/* A scalable font at a point size (72 dpi), or a bitmap-only font's strike
   number ptsize; index picks a face in a font collection. */
extern DECLSPEC TTF_Font* SDLCALL TTF_OpenFont(const char* file, int ptsize);
extern DECLSPEC TTF_Font* SDLCALL TTF_OpenFontIndex(const char* file, int ptsize, long index);
extern DECLSPEC TTF_Font* SDLCALL TTF_OpenFontRW(SDL_RWops* src, int freesrc, int ptsize);
extern DECLSPEC TTF_Font* SDLCALL TTF_OpenFontIndexRW(SDL_RWops* src, int freesrc, int ptsize,
                                                      long index);
extern DECLSPEC void SDLCALL TTF_CloseFont(TTF_Font* font);

#define TTF_STYLE_NORMAL 0x00
#define TTF_STYLE_BOLD 0x01
#define TTF_STYLE_ITALIC 0x02
#define TTF_STYLE_UNDERLINE 0x04
#define TTF_STYLE_STRIKETHROUGH 0x08
extern DECLSPEC int SDLCALL TTF_GetFontStyle(const TTF_Font* font);
extern DECLSPEC void SDLCALL TTF_SetFontStyle(TTF_Font* font, int style);
extern DECLSPEC int SDLCALL TTF_GetFontOutline(const TTF_Font* font);
extern DECLSPEC void SDLCALL TTF_SetFontOutline(TTF_Font* font, int outline);

#define TTF_HINTING_NORMAL 0
#define TTF_HINTING_LIGHT 1
#define TTF_HINTING_MONO 2
#define TTF_HINTING_NONE 3
extern DECLSPEC int SDLCALL TTF_GetFontHinting(const TTF_Font* font);
extern DECLSPEC void SDLCALL TTF_SetFontHinting(TTF_Font* font, int hinting);
extern DECLSPEC int SDLCALL TTF_GetFontKerning(const TTF_Font* font);
extern DECLSPEC void SDLCALL TTF_SetFontKerning(TTF_Font* font, int allowed);

extern DECLSPEC int SDLCALL TTF_FontHeight(const TTF_Font* font);
extern DECLSPEC int SDLCALL TTF_FontAscent(const TTF_Font* font);
extern DECLSPEC int SDLCALL TTF_FontDescent(const TTF_Font* font);
extern DECLSPEC int SDLCALL TTF_FontLineSkip(const TTF_Font* font);
extern DECLSPEC long SDLCALL TTF_FontFaces(const TTF_Font* font);
extern DECLSPEC int SDLCALL TTF_FontFaceIsFixedWidth(const TTF_Font* font);
extern DECLSPEC char* SDLCALL TTF_FontFaceFamilyName(const TTF_Font* font);
extern DECLSPEC char* SDLCALL TTF_FontFaceStyleName(const TTF_Font* font);

/* The glyph's index in the font, 0 when the font lacks it. */
extern DECLSPEC int SDLCALL TTF_GlyphIsProvided(const TTF_Font* font, Uint16 ch);
extern DECLSPEC int SDLCALL TTF_GlyphMetrics(TTF_Font* font, Uint16 ch, int* minx, int* maxx,
                                             int* miny, int* maxy, int* advance);

/* Text in Latin-1 (Text), UTF-8 (UTF8) or UCS-2 (UNICODE), or one glyph. */
extern DECLSPEC int SDLCALL TTF_SizeText(TTF_Font* font, const char* text, int* w, int* h);
extern DECLSPEC int SDLCALL TTF_SizeUTF8(TTF_Font* font, const char* text, int* w, int* h);
extern DECLSPEC int SDLCALL TTF_SizeUNICODE(TTF_Font* font, const Uint16* text, int* w, int* h);

/* 8 bits: colour 0 is the transparent colour key, colour 1 the text's. */
extern DECLSPEC SDL_Surface* SDLCALL TTF_RenderText_Solid(TTF_Font* font, const char* text,
                                                          SDL_Color fg);
extern DECLSPEC SDL_Surface* SDLCALL TTF_RenderUTF8_Solid(TTF_Font* font, const char* text,
                                                          SDL_Color fg);
extern DECLSPEC SDL_Surface* SDLCALL TTF_RenderUNICODE_Solid(TTF_Font* font, const Uint16* text,
                                                             SDL_Color fg);
extern DECLSPEC SDL_Surface* SDLCALL TTF_RenderGlyph_Solid(TTF_Font* font, Uint16 ch, SDL_Color fg);

/* 8 bits: 256 colours from the background's to the text's. */
extern DECLSPEC SDL_Surface* SDLCALL TTF_RenderText_Shaded(TTF_Font* font, const char* text,
                                                           SDL_Color fg, SDL_Color bg);
extern DECLSPEC SDL_Surface* SDLCALL TTF_RenderUTF8_Shaded(TTF_Font* font, const char* text,
                                                           SDL_Color fg, SDL_Color bg);
extern DECLSPEC SDL_Surface* SDLCALL TTF_RenderUNICODE_Shaded(TTF_Font* font, const Uint16* text,
                                                              SDL_Color fg, SDL_Color bg);
extern DECLSPEC SDL_Surface* SDLCALL TTF_RenderGlyph_Shaded(TTF_Font* font, Uint16 ch, SDL_Color fg,
                                                            SDL_Color bg);

/* 32 bits of the text's colour, the ink in the alpha channel. */
extern DECLSPEC SDL_Surface* SDLCALL TTF_RenderText_Blended(TTF_Font* font, const char* text,
                                                            SDL_Color fg);
extern DECLSPEC SDL_Surface* SDLCALL TTF_RenderUTF8_Blended(TTF_Font* font, const char* text,
                                                            SDL_Color fg);
extern DECLSPEC SDL_Surface* SDLCALL TTF_RenderUNICODE_Blended(TTF_Font* font, const Uint16* text,
                                                               SDL_Color fg);
extern DECLSPEC SDL_Surface* SDLCALL TTF_RenderGlyph_Blended(TTF_Font* font, Uint16 ch,
                                                             SDL_Color fg);

#define TTF_RenderText(font, text, fg, bg) TTF_RenderText_Shaded(font, text, fg, bg)
#define TTF_RenderUTF8(font, text, fg, bg) TTF_RenderUTF8_Shaded(font, text, fg, bg)
#define TTF_RenderUNICODE(font, text, fg, bg) TTF_RenderUNICODE_Shaded(font, text, fg, bg)

#define TTF_SetError SDL_SetError
#define TTF_GetError SDL_GetError

#ifdef __cplusplus
}
#endif
#include "close_code.h"

#endif /* _SDL_TTF_H */
