/*
 * SDL_image for this project's Windows and web builds: the part of the
 * SDL_image 1.2.12 API that compat/SDL_image.cpp implements (PNG pictures
 * only), with SDL_image's names, types and results. Not the original
 * library: IMG_Linked_Version reports 1.2.12 so that version checks pass,
 * and SDL_IMAGE_COMPAT_BUILD names this build. compat/README.md lists every
 * known difference from the original.
 */
#ifndef _SDL_IMAGE_H
#define _SDL_IMAGE_H

#include "SDL.h"
#include "begin_code.h"

#ifdef __cplusplus
extern "C" {
#endif

#define SDL_IMAGE_MAJOR_VERSION 1
#define SDL_IMAGE_MINOR_VERSION 2
#define SDL_IMAGE_PATCHLEVEL 12
#define SDL_IMAGE_COMPAT_BUILD "1.2.12-demo"

#define SDL_IMAGE_VERSION(X)                                                                       \
    {                                                                                              \
        (X)->major = SDL_IMAGE_MAJOR_VERSION;                                                      \
        (X)->minor = SDL_IMAGE_MINOR_VERSION;                                                      \
        (X)->patch = SDL_IMAGE_PATCHLEVEL;                                                         \
    }

extern DECLSPEC const SDL_version* SDLCALL IMG_Linked_Version(void);

/* A PNG picture from a file, or from a stream (closed when freesrc is
   non-zero); any other format fails with "Unsupported image format". */
extern DECLSPEC SDL_Surface* SDLCALL IMG_Load(const char* file);
extern DECLSPEC SDL_Surface* SDLCALL IMG_Load_RW(SDL_RWops* src, int freesrc);

/* 1 if the stream starts with a PNG signature; the stream stays where it was. */
extern DECLSPEC int SDLCALL IMG_isPNG(SDL_RWops* src);
extern DECLSPEC SDL_Surface* SDLCALL IMG_LoadPNG_RW(SDL_RWops* src);

#define IMG_SetError SDL_SetError
#define IMG_GetError SDL_GetError

#ifdef __cplusplus
}
#endif
#include "close_code.h"

#endif /* _SDL_IMAGE_H */
