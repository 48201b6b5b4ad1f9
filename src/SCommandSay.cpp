#include "SCommandSay.h"

#include "Dialogbox.h"

SCommandSay::SCommandSay(Dialogbox* dialogBox, std::string text, CharacterSprite*)
    : dialogBox(dialogBox)
    , text(text)
    , executed(false)
    , firstDonePoll(true) {}

SCommandSay::~SCommandSay() {}

void SCommandSay::execute() {
    if (executed)
        return;
    dialogBox->setText(text);
    executed = true;
}

bool SCommandSay::isDone() {
    // The box finishes the line while the entities step, after the script has
    // run in that cycle; letting one more poll pass keeps the box empty for a
    // cycle before the next line appears.
    if (!executed || !dialogBox->isDone())
        return false;
    if (firstDonePoll) {
        firstDonePoll = false;
        return false;
    }
    return true;
}
