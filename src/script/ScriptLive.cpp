#include "ScriptLive.h"

#include "CharacterSprite.h"
#include "KZ/ResourceManager.h"
#include "ScriptLoad.h"
#include "ScriptOverlay.h"
#include "ScriptPlayer.h"
#include "ScriptScene.h"
#include "ScriptWatcher.h"

#include "XarnTextClickable.h"

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
    , ownsRetired(false)
    , save(ScriptSave::pathFor(first.game.title))
    , saved()
    , continuar(nullptr) {
    instance = this;
    KZ_ResourceManager::setFaultHandler(fault);
}

ScriptOverlay* ScriptLive::overlay(ScriptScene* scene) {
    const ScriptGame& game = player->game;
    if (game.saves && continuar == nullptr && scene->model.name == game.start &&
        !save.getPath().empty() && save.exists()) {
        // Below the scene's first button, as a title screen lists its choices.
        int x = 420;
        int y = 390;
        for (const ScriptGame::Thing& thing : scene->model.things) {
            if (thing.kind == ScriptGame::Thing::BUTTON) {
                x = thing.x;
                y = thing.y;
                break;
            }
        }
        continuar = new XarnTextClickable("Continuar", this, scene);
        continuar->setX(x);
        continuar->setY(y + 40);
        continuar->fontPath = game.fontPath();
        scene->add(continuar);
    }
    return new ScriptOverlay(&board, fontPath, [this] { frame(); });
}

void ScriptLive::frame() {
    if (watcher != nullptr && watcher->poll(SDL_GetTicks())) {
        reload(watcher->changed());
    }
    if (!player->game.saves || save.getPath().empty() || player->current == nullptr ||
        player->current->model.name == player->game.start) {
        return; // the title screen is nothing to come back to
    }
    // Between clicks: the scene at rest, or a line waiting for its click.
    const ScriptGame::Statement* line = player->playing();
    if (!player->state.script.empty() && line == nullptr) {
        return;
    }
    ScriptSaved now;
    static_cast<ScriptState&>(now) = player->state;
    now.line = line != nullptr ? line->text : "";
    // A save that fails (a full disk) is said once and tried again at the
    // next change; the save on the disk is the last one that succeeded.
    if (!(now == saved)) {
        save.write(now);
        saved = now;
    }
}

void ScriptLive::notify(KZ_Subject* subject, void*) {
    ScriptScene* scene = player->current;
    if (continuar == nullptr || subject != static_cast<KZ_Subject*>(continuar) ||
        scene->mode != scene->MODE_INTERACTIVE) {
        return;
    }
    ScriptSaved from;
    if (!save.read(from)) {
        return;
    }
    ScriptSave::keepWhatFits(from, names(player->game));
    saved = from;
    player->restore(from, from.line);
    // Where the scripts had put the portraits is not in a save: they start
    // hidden, as a scene at rest after its opening shows them, until a
    // script moves them again.
    for (const auto& portrait : player->current->portraits) {
        portrait.second->setX(-1000);
    }
}

// Adds the names `block` and the blocks under it use, as their script `key` knows them.
static void collect(const std::vector<ScriptGame::Statement>& block, const std::string& key,
                    ScriptSaveNames& names) {
    using Statement = ScriptGame::Statement;
    for (const Statement& s : block) {
        if (s.kind == Statement::SAY) {
            names.scripts[key].insert(s.text);
        } else if (s.kind == Statement::SET || s.kind == Statement::UNSET) {
            names.flags.insert(s.name);
        } else if (s.kind == Statement::ASSIGN || s.kind == Statement::ADD) {
            names.counters.insert(s.name);
        } else if (s.kind == Statement::FIRST_TIME) {
            names.blocks.insert(key + "#" + std::to_string(s.ordinal));
        }
        collect(s.body, key, names);
        collect(s.otherwise, key, names);
    }
}

ScriptSaveNames ScriptLive::names(const ScriptGame& game) {
    ScriptSaveNames names;
    names.firstScene = game.start;
    for (const ScriptGame::Scene& scene : game.scenes) {
        names.scenes.insert(scene.name);
        collect(scene.opening.body, scene.opening.key, names);
        for (const ScriptGame::Thing& thing : scene.things) {
            names.blocks.insert(scene.name + "/" + thing.name);
            collect(thing.script.body, thing.script.key, names);
            for (const ScriptGame::Verb& verb : thing.verbs) {
                collect(verb.script.body, verb.script.key, names);
            }
        }
    }
    return names;
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
