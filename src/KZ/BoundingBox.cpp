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

// New quad size for a new shown size, keeping the quad-to-shown ratio.
static int scaledSize(int quad, int shown, int wanted) {
    if (shown == 0) {
        return wanted;
    }
    const long long ratio = static_cast<long long>(quad) / shown;
    return static_cast<int>(wanted * ratio);
}

void KZ_BoundingBox::resizeWidth(KZ_BoundingBox& quad, KZ_BoundingBox& shown, int width) {
    quad.width = scaledSize(quad.width, shown.width, width);
    shown.width = width;
}

void KZ_BoundingBox::resizeHeight(KZ_BoundingBox& quad, KZ_BoundingBox& shown, int height) {
    quad.height = scaledSize(quad.height, shown.height, height);
    shown.height = height;
}
