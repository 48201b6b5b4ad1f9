#ifndef SCOMMANDSAY_H
#define SCOMMANDSAY_H

#include "SceneCommand.h"

#include <string>

class CharacterSprite;
class Dialogbox;

// Shows one line in the dialog box and finishes once the player has clicked it
// away: it reports done on the second poll that finds the box done, so a line
// clicked away in cycle N is replaced by the next one in cycle N + 2.
class SCommandSay : public SceneCommand {
public:
    Dialogbox* dialogBox; // where the line is shown; not owned, must outlive the command
    std::string text;     // the line to show
    bool executed;        // the line has been handed to the box
    bool firstDonePoll;   // no poll has found the box done yet

    // The box, the line and the speaking portrait; the portrait (may be null)
    // is accepted for the script's readability and not used: the box shows only text.
    SCommandSay(Dialogbox* dialogBox, std::string text, CharacterSprite* character);
    // Releases the text.
    ~SCommandSay() override;

    // Hands the line to the box the first time; does nothing afterwards.
    void execute() override;
    // True on the second poll that finds the box done with the line.
    bool isDone() override;
};

#endif
