#include "SCommandHide.h"

#include "KZ/Invader2D.h"

SCommandHide::SCommandHide(KZ_Invader2D* target)
    : target(target)
    , done(false) {}

void SCommandHide::execute() {
    // Far enough left that any entity narrower than 1000 pixels is out of the window.
    target->setX(-1000);
    done = true;
}

bool SCommandHide::isDone() {
    return done;
}
