#include "ScriptPlayer.h"

#include "CharacterSprite.h"
#include "KZ/SerialSpace.h"
#include "KZ/Space.h"
#include "SCommandCall.h"
#include "SCommandEnd.h"
#include "SCommandHide.h"
#include "SCommandMoveCenter.h"
#include "SCommandSay.h"
#include "ScriptLive.h"
#include "ScriptLoad.h"
#include "ScriptOverlay.h"
#include "ScriptScene.h"

#include <SDL/SDL.h>
#include <cstdio>
#include <unistd.h>

ScriptPlayer::ScriptPlayer(const ScriptGame& game)
    : game(game)
    , current(nullptr)
    , live(nullptr)
    , runningScene(nullptr) {}

int ScriptPlayer::play(ScriptLoad& load, bool watch) {
    // The framework reads res/ relative to the working directory: the game's.
    if (chdir(load.folderPath.c_str()) != 0) {
        std::printf("%s: error: the game's folder cannot be entered\n", load.path.c_str());
        return 1;
    }
    const std::string& title = load.game.title;
    // The application object, the player and the scenes live until the
    // process ends; nothing deletes them.
    KZ_SerialSpace* space = new KZ_SerialSpace();
    SDL_WM_SetCaption(title.c_str(), nullptr);
    std::printf("Starting %s\n", title.c_str());
    ScriptPlayer* player = new ScriptPlayer(load.game);
    player->live = new ScriptLive(load, player, watch);
    player->start();
    space->serialOrchestrator();
    std::printf("Ending %s \n", title.c_str());
    SDL_Quit();
    return 0;
}

void ScriptPlayer::start() {
    go(game.start);
}

void ScriptPlayer::go(const std::string& name) {
    const ScriptGame::Scene* model = game.scene(name);
    ScriptScene* scene = build(name);
    current = scene;
    state.scene = name;
    frames.clear();
    state.script.clear();
    state.place.clear();
    scene->refresh();
    // The opening plays from the scene's first cycle. A scene without one
    // queues nothing, so it starts at rest (no dialog strip, not even for a frame).
    if (!model->opening.body.empty()) {
        frames.push_back({&model->opening.body, 0});
        state.script = model->opening.key;
        runningScene = scene;
        scene->commandStack.add(new SCommandCall([this] { resume(); }));
    }
    show(scene);
}

ScriptScene* ScriptPlayer::build(const std::string& name) {
    ScriptScene*& scene = scenes[name];
    if (scene == nullptr) {
        scene = new ScriptScene(this, *game.scene(name));
        if (live != nullptr) {
            scene->add(live->overlay(scene));
        }
    }
    return scene;
}

void ScriptPlayer::show(ScriptScene* scene) {
    if (KZ_Space::displayStack.isEmpty()) {
        KZ_Space::displayStack.push(scene);
    } else if (KZ_Space::displayStack.getTop() != scene) {
        KZ_Space::displayStack.swap(scene);
    }
}

bool ScriptPlayer::restore(const ScriptState& saved, const std::string& line) {
    state = saved;
    state.script.clear();
    state.place.clear();
    frames.clear();
    ScriptScene* scene = build(saved.scene);
    current = scene;
    scene->refresh();
    show(scene);
    const ScriptGame::Script* running = script(saved.script);
    if (running == nullptr || saved.place.empty() ||
        !(findPlace(running->body, saved.place, 0, line, true) ||
          findPlace(running->body, saved.place, 0, line, false))) {
        return false;
    }
    // The line is started again: shown, and waiting for its click.
    frames.back().next--;
    state.script = saved.script;
    runningScene = scene;
    scene->commandStack.add(new SCommandCall([this] { resume(); }));
    // The line is handed to the dialog box now, before the scene's first
    // frame: a click in that frame is the player's answer to the line they
    // see, not a click left over from before it (which the box ignores).
    scene->commandStack.execute();
    return true;
}

bool ScriptPlayer::findPlace(const std::vector<ScriptGame::Statement>& block,
                             const std::vector<int>& place, size_t depth, const std::string& line,
                             bool exact) {
    using Statement = ScriptGame::Statement;
    const int started = place[depth];
    if (started < 1 || static_cast<size_t>(started) > block.size()) {
        return false;
    }
    const Statement& s = block[started - 1];
    frames.push_back({&block, static_cast<size_t>(started)});
    if (depth + 1 == place.size()) {
        if (s.kind == Statement::SAY && (!exact || s.text == line)) {
            return true;
        }
    } else if (s.kind == Statement::IF || s.kind == Statement::FIRST_TIME) {
        // The branch the state chooses now first: it is the one taken, unless
        // the block itself changed what its condition reads.
        const bool body = s.kind != Statement::IF || holds(s.condition);
        if (findPlace(body ? s.body : s.otherwise, place, depth + 1, line, exact) ||
            findPlace(body ? s.otherwise : s.body, place, depth + 1, line, exact)) {
            return true;
        }
    }
    frames.pop_back();
    return false;
}

const ScriptGame::Statement* ScriptPlayer::playing() const {
    if (frames.empty() || frames.back().next == 0) {
        return nullptr;
    }
    const ScriptGame::Statement& s = (*frames.back().block)[frames.back().next - 1];
    return s.kind == ScriptGame::Statement::SAY ? &s : nullptr;
}

const ScriptGame::Script* ScriptPlayer::script(const std::string& key) const {
    for (const ScriptGame::Scene& scene : game.scenes) {
        if (scene.opening.key == key) {
            return &scene.opening;
        }
        for (const ScriptGame::Thing& thing : scene.things) {
            if (thing.script.key == key) {
                return &thing.script;
            }
            for (const ScriptGame::Verb& verb : thing.verbs) {
                if (verb.script.key == key) {
                    return &verb.script;
                }
            }
        }
    }
    return nullptr;
}

void ScriptPlayer::run(ScriptScene* scene, const ScriptGame::Script& script) {
    frames.clear();
    frames.push_back({&script.body, 0});
    state.script = script.key;
    runningScene = scene;
    resume();
}

void ScriptPlayer::queue(SceneCommand* command) {
    runningScene->commandStack.add(command);
    runningScene->commandStack.add(new SCommandCall([this] { resume(); }));
    remember();
}

void ScriptPlayer::remember() {
    state.place.clear();
    for (const Frame& frame : frames) {
        state.place.push_back(static_cast<int>(frame.next));
    }
}

void ScriptPlayer::changed() {
    if (current != nullptr) {
        current->refresh();
    }
}

void ScriptPlayer::resume() {
    using Statement = ScriptGame::Statement;
    while (!frames.empty()) {
        Frame& frame = frames.back();
        if (frame.next >= frame.block->size()) {
            frames.pop_back();
            continue;
        }
        const Statement& s = (*frame.block)[frame.next++];
        CharacterSprite* portrait =
            runningScene->portrait(s.kind == Statement::SAY ? s.speaker : s.name);
        switch (s.kind) {
        case Statement::SAY:
            queue(new SCommandSay(runningScene->dialogBox, s.text, portrait));
            return;
        case Statement::HIDE:
            queue(new SCommandHide(portrait));
            return;
        case Statement::CENTER:
            queue(new SCommandMoveCenter(portrait));
            return;
        case Statement::LEFT:
            queue(new SCommandCall([portrait] { portrait->moveLeft(); }));
            return;
        case Statement::RIGHT:
            queue(new SCommandCall([portrait] { portrait->moveRight(); }));
            return;
        case Statement::FLIP:
            queue(new SCommandCall([portrait] { portrait->flip(); }));
            return;
        case Statement::SET:
        case Statement::UNSET:
        case Statement::ASSIGN:
        case Statement::ADD:
            apply(s);
            changed();
            break;
        case Statement::IF:
        case Statement::FIRST_TIME:
            frames.push_back({&branch(s), 0});
            break;
        case Statement::GO:
            go(s.name);
            return;
        case Statement::END:
            frames.clear();
            runningScene->commandStack.add(new SCommandEnd());
            remember();
            return;
        }
    }
    state.script.clear();
    state.place.clear();
}

void ScriptPlayer::apply(const ScriptGame::Statement& s) {
    using Statement = ScriptGame::Statement;
    if (s.kind == Statement::SET) {
        state.flags.insert(s.name);
    } else if (s.kind == Statement::UNSET) {
        state.flags.erase(s.name);
    } else if (s.kind == Statement::ASSIGN) {
        state.setCounter(s.name, s.value);
    } else if (s.kind == Statement::ADD) {
        state.setCounter(s.name, state.counter(s.name) + s.value);
    }
}

const std::vector<ScriptGame::Statement>& ScriptPlayer::branch(const ScriptGame::Statement& s) {
    if (s.kind == ScriptGame::Statement::IF) {
        return holds(s.condition) ? s.body : s.otherwise;
    }
    const bool first = state.seen.insert(state.script + "#" + std::to_string(s.ordinal)).second;
    return first ? s.body : s.otherwise;
}

bool ScriptPlayer::holds(const ScriptGame::Condition& c) const {
    using Condition = ScriptGame::Condition;
    switch (c.kind) {
    case Condition::FLAG:
        return state.flags.count(c.name) != 0 || state.counter(c.name) != 0;
    case Condition::COMPARE: {
        const int v = state.counter(c.name);
        return c.op == "="    ? v == c.value
               : c.op == "!=" ? v != c.value
               : c.op == "<"  ? v < c.value
               : c.op == ">"  ? v > c.value
               : c.op == "<=" ? v <= c.value
                              : v >= c.value;
    }
    case Condition::SEEN:
        return state.seen.count(state.scene + "/" + c.name) != 0;
    case Condition::NOT:
        return !holds(c.parts.front());
    case Condition::AND:
        for (const Condition& part : c.parts) {
            if (!holds(part)) {
                return false;
            }
        }
        return true;
    case Condition::OR:
        for (const Condition& part : c.parts) {
            if (holds(part)) {
                return true;
            }
        }
        return false;
    }
    return false;
}

const std::string& ScriptPlayer::picture(const ScriptGame::Thing& thing) const {
    for (const ScriptGame::Picture& p : thing.pictures) {
        if (p.conditional && holds(p.when)) {
            return p.file;
        }
    }
    return thing.pictures.front().file;
}

void ScriptPlayer::markSeen(const std::string& thing) {
    if (state.seen.insert(state.scene + "/" + thing).second) {
        changed();
    }
}
