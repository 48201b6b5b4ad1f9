#include "SCommandEnd.h"

#include "KZ/SerialSpace.h"

SCommandEnd::SCommandEnd()
    : done(false) {}

void SCommandEnd::execute() {
    if (done)
        return;
    KZ_SerialSpace* space = KZ_SerialSpace::getInstance();
    if (space != nullptr) {
        space->destroy();
    }
    done = true;
}

bool SCommandEnd::isDone() {
    return done;
}
