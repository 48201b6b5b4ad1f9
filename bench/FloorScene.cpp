#include "FloorScene.h"

#include "KZ/ResourceManager.h"

#include <GL/glu.h>
#include <SDL/SDL_image.h>
#include <cstdio>

namespace {

// A picture of the scene: file, drawn position and depth, and the size a
// stand-in gets when the file is missing. A drawn size of 0 means the
// picture's own size.
struct Picture {
    const char* file;
    int x, y, z;
    int drawW, drawH;
    int standInW, standInH;
};

// Positions and depths as the investigation scene places them: background at
// the back, objects at 0, portraits standing on the strip (bottom edge at
// 380), the strip and its icon in front. x = -1000 parks a portrait.
const Picture PICTURES_DIALOG[FloorScene::PICTURES] = {
    {"main.png", 0, 0, 100, 640, 480, 1024, 512},
    {"personaje1.png", 192, 124, -900, 0, 0, 256, 256},
    {"personaje2.png", -1000, 124, -900, 0, 0, 256, 256},
    {"lagartija.png", 20, 290, 0, 0, 0, 64, 32},
    {"silueta.png", 380, 320, 0, 0, 0, 256, 128},
    {"policia.png", 400, 80, 0, 0, 0, 64, 128},
    {"basurero2.png", 280, 190, 0, 0, 0, 64, 128},
    {"opaque.png", 0, 368, -1000, 640, 120, 64, 64},
    {"pressbutton.png", 576, 418, -1000, 40, 32, 64, 64},
};

} // namespace

FloorScene::FloorScene()
    : quads()
    , text()
    , font(nullptr)
    , standInCount(0)
    , layout(DIALOG) {}

FloorScene::~FloorScene() {
    unload();
}

void FloorScene::load(const std::string& resDir, const std::string& line, Layout l) {
    unload();
    layout = l;
    standInCount = 0;
    for (int i = 0; i < PICTURES; i++) {
        const Picture& p = PICTURES_DIALOG[i];
        Quad& q = quads[i];
        // Stretched pictures are drawn at a fixed size, the others at their own.
        q.w = p.standInW;
        q.h = p.standInH;
        q.texture = loadPicture(resDir + "/" + p.file, &q.w, &q.h);
        q.x = p.x;
        q.y = p.y;
        q.z = p.z;
        if (p.drawW != 0) {
            q.w = p.drawW;
            q.h = p.drawH;
        }
    }
    if (layout == INTERACTIVE) {
        quads[1].x = -1000; // both portraits parked
    }
    font = TTF_OpenFont((resDir + "/Vera.ttf").c_str(), 18);
    if (font == nullptr) {
        // Until the game's font is in place, the same file from the system.
        font = TTF_OpenFont("/usr/share/fonts/truetype/ttf-bitstream-vera/Vera.ttf", 18);
        standInCount++;
    }
    if (font == nullptr) {
        std::printf("floor: no font: %s\n", TTF_GetError());
        return;
    }
    renderText(line);
}

void FloorScene::unload() {
    for (Quad& q : quads) {
        if (q.texture != 0) {
            glDeleteTextures(1, &q.texture);
            q.texture = 0;
        }
    }
    if (text.texture != 0) {
        glDeleteTextures(1, &text.texture);
        text.texture = 0;
    }
    if (font != nullptr) {
        TTF_CloseFont(font);
        font = nullptr;
    }
}

GLuint FloorScene::loadPicture(const std::string& path, int* w, int* h) {
    SDL_Surface* surface = IMG_Load(path.c_str());
    if (surface == nullptr) {
        // A translucent grey card of the size the real picture will have, so
        // the cost of the frame does not depend on the pictures being there.
        standInCount++;
        surface =
            SDL_CreateRGBSurface(0, *w, *h, 32, 0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000);
        SDL_FillRect(surface, nullptr, SDL_MapRGBA(surface->format, 90, 90, 110, 200));
    }
    GLuint texture = upload(surface);
    *w = surface->w;
    *h = surface->h;
    SDL_FreeSurface(surface);
    return texture;
}

GLuint FloorScene::upload(SDL_Surface* surface) {
    const int bpp = surface->format->BytesPerPixel;
    const bool rgbOrder = surface->format->Rmask == 0x000000FF;
    GLenum format = GL_RGBA;
    if (bpp == 4) {
        format = rgbOrder ? GL_RGBA : GL_BGRA_EXT;
    } else if (bpp == 3) {
        format = rgbOrder ? GL_RGB : GL_BGR_EXT;
    }
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, bpp, surface->w, surface->h, 0, format, GL_UNSIGNED_BYTE,
                 surface->pixels);
    return texture;
}

void FloorScene::renderText(const std::string& line) {
    if (text.texture != 0) {
        glDeleteTextures(1, &text.texture);
        text.texture = 0;
    }
    if (font == nullptr) {
        return;
    }
    SDL_Color white = {255, 255, 255, 0};
    SDL_Surface* rendered = TTF_RenderUTF8_Solid(font, line.c_str(), white);
    if (rendered == nullptr) {
        return;
    }
    // OpenGL 1.1 wants power-of-two sides: the line goes into the top-left
    // corner of a transparent RGBA surface of the next sizes up.
    const int w = KZ_ResourceManager::powerOfTwo(rendered->w);
    const int h = KZ_ResourceManager::powerOfTwo(rendered->h);
    SDL_Surface* surface =
        SDL_CreateRGBSurface(0, w, h, 32, 0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000);
    SDL_Rect at = {0, 0, 0, 0};
    SDL_UpperBlit(rendered, nullptr, surface, &at);
    text.texture = upload(surface);
    text.w = w;
    text.h = h;
    if (layout == DIALOG) {
        text.x = 20; // the strip's line
        text.y = 380;
        text.z = -1000;
    } else {
        text.x = 320 - rendered->w / 2; // the name of the pointed object
        text.y = 480 - 2 * TTF_FontLineSkip(font);
        text.z = -800;
    }
    SDL_FreeSurface(rendered);
    SDL_FreeSurface(surface);
}

void FloorScene::drawQuad(const Quad& q, double top) {
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, q.texture);
    glBegin(GL_QUADS);
    glTexCoord2d(0, top);
    glVertex3i(q.x, q.y, q.z);
    glTexCoord2d(0, 1);
    glVertex3i(q.x, q.y + q.h, q.z);
    glTexCoord2d(1, 1);
    glVertex3i(q.x + q.w, q.y + q.h, q.z);
    glTexCoord2d(1, top);
    glVertex3i(q.x + q.w, q.y, q.z);
    glEnd();
    glDisable(GL_TEXTURE_2D);
}

void FloorScene::draw() {
    // The scenes' camera: y grows downwards from the top-left, lower z nearer.
    gluLookAt(0, 480, -1, 0, 480, 0, 0, -1, 0);
    const int shown = layout == DIALOG ? PICTURES : PICTURES - 2; // no strip, no icon
    for (int i = 0; i < shown; i++) {
        drawQuad(quads[i], 0.005);
    }
    if (text.texture != 0) {
        drawQuad(text, 0);
    }
}
