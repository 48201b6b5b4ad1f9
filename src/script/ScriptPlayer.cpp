#include "ScriptPlayer.h"

#include "CharacterSprite.h"
#include "KZ/SerialSpace.h"
#include "KZ/Space.h"
#include "SCommandCall.h"
#include "SCommandEnd.h"
#include "SCommandHide.h"
#include "SCommandMoveCenter.h"
#include "SCommandSay.h"
#include "ScriptLoad.h"
#include "ScriptScene.h"

#include <SDL/SDL.h>
#include <cstdio>
#include <unistd.h>

ScriptPlayer::ScriptPlayer(const ScriptGame& game)
    : game(game)
    , current(nullptr)
    , runningScene(nullptr) {}

int ScriptPlayer::play(ScriptLoad& load) {
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
    ScriptScene*& scene = scenes[name];
    if (scene == nullptr) {
        scene = new ScriptScene(this, *model);
    }
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
    if (KZ_Space::displayStack.isEmpty()) {
        KZ_Space::displayStack.push(scene);
    } else if (KZ_Space::displayStack.getTop() != scene) {
        KZ_Space::displayStack.swap(scene);
    }
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
            state.flags.insert(s.name);
            changed();
            break;
        case Statement::UNSET:
            state.flags.erase(s.name);
            changed();
            break;
        case Statement::ASSIGN:
            state.setCounter(s.name, s.value);
            changed();
            break;
        case Statement::ADD:
            state.setCounter(s.name, state.counter(s.name) + s.value);
            changed();
            break;
        case Statement::IF:
            frames.push_back({holds(s.condition) ? &s.body : &s.otherwise, 0});
            break;
        case Statement::FIRST_TIME: {
            const bool first =
                state.seen.insert(state.script + "#" + std::to_string(s.ordinal)).second;
            frames.push_back({first ? &s.body : &s.otherwise, 0});
            break;
        }
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
