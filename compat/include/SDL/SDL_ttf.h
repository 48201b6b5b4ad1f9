/*
 * SDL_ttf for this project's Windows and web builds: the part of the
 * SDL_ttf 2.0.11 API that compat/SDL_ttf.cpp implements on FreeType (fonts
 * at a point size, text measured and drawn "solid"), with SDL_ttf's names,
 * types, sizes and pixels. Not the original library: TTF_Linked_Version
 * reports 2.0.11 so that version checks pass, and SDL_TTF_COMPAT_BUILD names
 * this build. compat/README.md lists every known difference from the
 * original.
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

extern DECLSPEC TTF_Font* SDLCALL TTF_OpenFont(const char* file, int ptsize);
extern DECLSPEC void SDLCALL TTF_CloseFont(TTF_Font* font);

extern DECLSPEC int SDLCALL TTF_FontHeight(const TTF_Font* font);
extern DECLSPEC int SDLCALL TTF_FontAscent(const TTF_Font* font);
extern DECLSPEC int SDLCALL TTF_FontDescent(const TTF_Font* font);
extern DECLSPEC int SDLCALL TTF_FontLineSkip(const TTF_Font* font);

/* Text in Latin-1 (Text) or UTF-8 (UTF8). */
extern DECLSPEC int SDLCALL TTF_SizeText(TTF_Font* font, const char* text, int* w, int* h);
extern DECLSPEC int SDLCALL TTF_SizeUTF8(TTF_Font* font, const char* text, int* w, int* h);
extern DECLSPEC SDL_Surface* SDLCALL TTF_RenderText_Solid(TTF_Font* font, const char* text,
                                                          SDL_Color fg);
extern DECLSPEC SDL_Surface* SDLCALL TTF_RenderUTF8_Solid(TTF_Font* font, const char* text,
                                                          SDL_Color fg);

#define TTF_SetError SDL_SetError
#define TTF_GetError SDL_GetError

#ifdef __cplusplus
}
#endif
#include "close_code.h"

#endif /* _SDL_TTF_H */
