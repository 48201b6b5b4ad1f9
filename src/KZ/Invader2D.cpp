#include "KZ/Invader2D.h"

KZ_Invader2D::KZ_Invader2D()
    : x(0)
    , y(0)
    , z(0)
    , lastX(0)
    , lastY(0)
    , lastZ(0) {}

void KZ_Invader2D::created() {}

void KZ_Invader2D::destroyed() {}

void KZ_Invader2D::step() {}

void KZ_Invader2D::draw(KZ_Graphics*) {}

void KZ_Invader2D::loadGraphics() {}

void KZ_Invader2D::unloadGraphics() {}

void KZ_Invader2D::reserved() {
    lastX = x;
    lastY = y;
    lastZ = z;
}

int KZ_Invader2D::getZ() {
    return z;
}

int KZ_Invader2D::getY() {
    return y;
}

int KZ_Invader2D::getX() {
    return x;
}

void KZ_Invader2D::setZ(int z) {
    this->z = z;
}

void KZ_Invader2D::setY(int y) {
    this->y = y;
}

void KZ_Invader2D::setX(int x) {
    this->x = x;
}
