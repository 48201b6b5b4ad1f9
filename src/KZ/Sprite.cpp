#include "KZ/Sprite.h"

#include "KZ/ResourceManager.h"

#include <cassert>

KZ_Sprite::KZ_Sprite(std::string path)
    : path(path)
    , texture(0)
    , list(0)
    , textureBB()
    , bb() {
    list = glGenLists(1);
    texture = 0;
    loadGraphics();
}

KZ_Sprite::~KZ_Sprite() {
    if (texture != 0) {
        glDeleteTextures(1, &texture);
        texture = 0;
    }
    if (list != 0) {
        glDeleteLists(list, 1);
        list = 0;
    }
}

void KZ_Sprite::loadGraphics() {
    if (texture != 0) {
        glDeleteTextures(1, &texture);
        texture = 0;
    }
    texture = KZ_ResourceManager::loadTexture(path, this);
}

void KZ_Sprite::draw(int x, int y, int z) {
    // clang-format off
    assert(texture!=0);
    // clang-format on
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture);
    glBegin(GL_QUADS);
    glTexCoord2d(0, 0.005);
    glVertex3i(x, y, z);
    glTexCoord2d(0, 1);
    glVertex3i(x, y + textureBB.height, z);
    glTexCoord2d(1, 1);
    glVertex3i(x + textureBB.width, y + textureBB.height, z);
    glTexCoord2d(1, 0.005);
    glVertex3i(x + textureBB.width, y, z);
    glEnd();
    glDisable(GL_TEXTURE_2D);
}

// New quad size for a new caller size, keeping the quad-to-caller ratio
// (integer, truncated). With no caller size to form the ratio from, the quad
// takes the new size itself, as it does whenever the two sizes are equal.
static int scaledSize(int quad, int shown, int wanted) {
    if (shown == 0) {
        return wanted;
    }
    const long long ratio = static_cast<long long>(quad) / shown;
    return static_cast<int>(wanted * ratio);
}

void KZ_Sprite::setWidth(int width) {
    textureBB.width = scaledSize(textureBB.width, bb.width, width);
    bb.width = width;
}

void KZ_Sprite::setHeight(int height) {
    textureBB.height = scaledSize(textureBB.height, bb.height, height);
    bb.height = height;
}

int KZ_Sprite::getWidth() {
    return bb.width;
}

int KZ_Sprite::getHeight() {
    return bb.height;
}

void KZ_Sprite::genLists() {
    glNewList(list, GL_COMPILE);
    glBindTexture(GL_TEXTURE_2D, texture);
    glBegin(GL_QUADS);
    glTexCoord2i(0, 0);
    glVertex3i(0, 0, 0);
    glTexCoord2i(0, 1);
    glVertex3i(0, textureBB.height, 0);
    glTexCoord2i(1, 1);
    glVertex3i(textureBB.width, textureBB.height, 0);
    glTexCoord2i(1, 0);
    glVertex3i(textureBB.width, 0, 0);
    glEnd();
    glEndList();
}

KZ_BoundingBox* KZ_Sprite::getBB() {
    return &bb;
}

KZ_BoundingBox* KZ_Sprite::getTextureBB() {
    return &textureBB;
}
