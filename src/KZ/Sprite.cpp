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

void KZ_Sprite::setWidth(int width) {
    KZ_BoundingBox::resizeWidth(textureBB, bb, width);
}

void KZ_Sprite::setHeight(int height) {
    KZ_BoundingBox::resizeHeight(textureBB, bb, height);
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
