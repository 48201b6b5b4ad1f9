#include "ScriptLive.h"

#include "CharacterSprite.h"
#include "KZ/ResourceManager.h"
#include "ScriptLoad.h"
#include "ScriptOverlay.h"
#include "ScriptPlayer.h"
#include "ScriptScene.h"
#include "ScriptWatcher.h"

#include <SDL/SDL.h>
#include <cstdio>

ScriptLive* ScriptLive::instance = nullptr;

ScriptLive::ScriptLive(ScriptLoad& first, ScriptPlayer* player, bool watch)
    : board()
    , shownPath(first.path)
    , fontPath(first.game.fontPath())
    , watcher(watch ? new ScriptWatcher(".") : nullptr)
    , player(player)
    , load(&first)
    , retiredPlayer(nullptr)
    , retiredLoad(nullptr)
    , ownsLoad(false)
    , ownsRetired(false) {
    instance = this;
    KZ_ResourceManager::setFaultHandler(fault);
}

ScriptOverlay* ScriptLive::overlay() {
    return new ScriptOverlay(&board, fontPath, [this] { frame(); });
}

void ScriptLive::frame() {
    if (watcher != nullptr && watcher->poll(SDL_GetTicks())) {
        reload(watcher->changed());
    }
}

// The board's items for `load`'s findings, each file named as the player named the game.
static std::vector<ScriptFindingsBoard::Item> items(const ScriptLoad& load) {
    std::vector<ScriptFindingsBoard::Item> shown;
    for (ScriptFinding finding : load.findings) {
        if (finding.file != load.path) {
            finding.file = load.path + "/" + finding.file;
        }
        const std::string text = finding.format();
        shown.push_back({text.substr(0, text.find('\n')), finding.line > 0 ? finding.lineText : "",
                         finding.line > 0 && !finding.lineText.empty() ? finding.column : 0});
    }
    return shown;
}

void ScriptLive::reload(const std::vector<std::string>& changed) {
    std::string files;
    for (const std::string& file : changed) {
        files += (files.empty() ? "" : ", ") + file;
    }
    // The player runs in the game's folder.
    ScriptLoad* fresh = new ScriptLoad(".");
    fresh->path = shownPath;
    std::fputs(fresh->report().c_str(), stdout);
    if (!fresh->ok) {
        std::printf("Not reloaded %s: the game has errors; the last good version goes on\n",
                    files.c_str());
        std::fflush(stdout);
        board.show(items(*fresh));
        delete fresh;
        return;
    }
    board.clear();
    const ScriptState saved = player->state;
    const ScriptGame::Statement* line = player->playing();
    const std::string text = line != nullptr ? line->text : "";

    ScriptPlayer* next = new ScriptPlayer(fresh->game);
    next->live = this;
    fontPath = fresh->game.fontPath();
    std::string note;
    if (fresh->game.scene(saved.scene) == nullptr) {
        next->start();
        note = "the scene " + saved.scene + " is gone: back to the start";
    } else {
        const bool same = next->restore(saved, text);
        note = "back in " + saved.scene + (same ? ", at the same line" : ", at rest");
        // The portraits stay where the scripts put them: hidden, centred, turned.
        for (const auto& portrait : next->current->portraits) {
            const CharacterSprite* before = player->current->portrait(portrait.first);
            if (before != nullptr) {
                portrait.second->setX(before->x);
                portrait.second->setY(before->y);
                portrait.second->flipped = before->flipped;
            }
        }
    }
    std::printf("Reloaded %s: %s\n", files.c_str(), note.c_str());
    std::fflush(stdout);

    // The game before last is shown by no one now; the one just replaced is
    // hidden at the next frame.
    if (ownsRetired) {
        delete retiredPlayer;
        delete retiredLoad;
    }
    retiredPlayer = player;
    retiredLoad = load;
    ownsRetired = ownsLoad;
    player = next;
    load = fresh;
    ownsLoad = true;
}

void ScriptLive::fault(const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
    if (instance == nullptr) {
        return;
    }
    // A picture is read again each time its scene is shown: one report on the board is enough.
    for (const ScriptFindingsBoard::Item& item : instance->board.getItems()) {
        if (item.heading == line) {
            return;
        }
    }
    instance->board.add({line, "", 0});
}
