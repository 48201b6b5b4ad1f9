#ifndef SCRIPTLIVE_H
#define SCRIPTLIVE_H

#include "KZ/Observer.h"
#include "ScriptFindingsBoard.h"
#include "ScriptGame.h"
#include "ScriptSave.h"

#include <string>
#include <vector>

class ScriptLoad;
class ScriptOverlay;
class ScriptPlayer;
class ScriptScene;
class ScriptWatcher;
class XarnTextClickable;

// Keeps a game that is playing in step with its files, and shows what is
// wrong with it over the game instead of ending it.
//
// While watching, a saved change to any of the game's files (scripts,
// pictures, the font) is read and checked at once. A game that checks
// cleanly takes the running game's place: the same scene and state, the same
// line of a running script where that place still exists, else the scene at
// rest, with every picture and the font read again; one line on standard
// output says what was reloaded. A game with errors is not taken: its
// findings go on standard output and over the game, and the last good
// version goes on until the files are fixed.
//
// Watching or not, a picture or font that cannot be read when it is needed is
// reported on standard output and over the game, and the game goes on.
//
// A game whose game file says "save" is saved by itself between clicks (at
// rest, or while a line waits for its click; never halfway through a
// script's turn), and its first scene offers "Continuar" below its first
// button while a save exists. Continuing keeps what of the save still fits
// the game's files as they are now (ScriptSave::keepWhatFits).
//
// One per program, made by the player once the window is open; it lives as
// long as the program. It owns the games it reloaded, and keeps each until
// the reload after the next (a game's scenes are still being shown, then
// hidden, for a frame after it is replaced).
class ScriptLive : public KZ_Observer {
public:
    ScriptFindingsBoard board; // what the overlays show

    // `load` (not owned) is the game `player` plays, read from the working
    // folder; with `watch`, its files are watched.
    ScriptLive(ScriptLoad& load, ScriptPlayer* player, bool watch);

    // An overlay for the new `scene` of the game (the scene owns it); its
    // step is where the files are looked at and the game saved. The first
    // scene of a game that saves also gets "Continuar" while a save exists.
    ScriptOverlay* overlay(ScriptScene* scene);

    // Looks at the files (at most every few frames) and reloads after a
    // change; saves the game if it asks for it and something changed.
    void frame();

    // "Continuar" was clicked: plays on from the save.
    void notify(KZ_Subject* subject, void* data) override;

    // The names `game` has now, which a save is held to.
    static ScriptSaveNames names(const ScriptGame& game);

    // Reads the game's files again and, if they check cleanly, plays them in
    // place of the running game; `changed` names what changed, for the note.
    void reload(const std::vector<std::string>& changed);

    // Standard output and the board's: a fault met while playing.
    static void fault(const std::string& line);

private:
    static ScriptLive* instance; // the one that faults go to

    std::string shownPath;       // the game as the player named it, for findings
    std::string fontPath;        // the running game's font, for the overlays
    ScriptWatcher* watcher;      // owned; null when not watching
    ScriptPlayer* player;        // the running game's player
    ScriptLoad* load;            // the running game; owned unless it is the first
    ScriptPlayer* retiredPlayer; // the game before, owned; deleted at the next reload
    ScriptLoad* retiredLoad;
    bool ownsLoad;
    bool ownsRetired;
    ScriptSave save;              // where the game's save lives
    ScriptSaved saved;            // what was saved last
    XarnTextClickable* continuar; // the first scene's "Continuar", or null
};

#endif
