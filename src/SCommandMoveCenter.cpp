#include "SCommandMoveCenter.h"

#include "CharacterSprite.h"

SCommandMoveCenter::SCommandMoveCenter(CharacterSprite* character)
    : character(character)
    , done(false) {}

void SCommandMoveCenter::execute() {
    if (character != nullptr)
        character->moveCenter();
    done = true;
}

bool SCommandMoveCenter::isDone() {
    return done;
}
