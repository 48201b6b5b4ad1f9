#include "KZ/BoundingBox.h"

KZ_BoundingBox::KZ_BoundingBox()
    : x(0)
    , y(0)
    , width(1)
    , height(1) {}

KZ_BoundingBox::KZ_BoundingBox(int x, int y, int width, int height)
    : x(x)
    , y(y)
    , width(width)
    , height(height) {}

bool KZ_BoundingBox::contains(int px, int py) {
    return x < px && px < x + width && y < py && py < y + height;
}
