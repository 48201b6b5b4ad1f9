#include "KZ/Clickable.h"

#include "KZ/BoundingBox.h"
#include "KZ/MouseManager.h"

KZ_Clickable::KZ_Clickable()
    : bb(nullptr)
    , hover(false)
    , justClicked(false) {}

void KZ_Clickable::check() {
    const int px = KZ_MouseManager::getX();
    const int py = KZ_MouseManager::getY();
    justClicked = false;
    if (bb == nullptr) {
        return;
    }
    if (bb->contains(px, py)) {
        // A click is the press, not the release. clicked() runs first, so it
        // still sees the previous check's hover and no click yet.
        if (KZ_MouseManager::clickWasPressed(KZ_MouseManager::LEFT_BUTTON)) {
            clicked();
            justClicked = true;
        }
        hover = true;
    } else {
        hover = false;
    }
}

void KZ_Clickable::clicked() {}

bool KZ_Clickable::isHover() {
    return hover;
}

bool KZ_Clickable::wasClicked() {
    return justClicked;
}

void KZ_Clickable::setBB(KZ_BoundingBox* bb) {
    this->bb = bb;
}

KZ_BoundingBox* KZ_Clickable::getBB() {
    return bb;
}
