#include "ScriptExplorer.h"

#include "ScriptPlayer.h"

#include <algorithm>
#include <cstdio>
#include <deque>
#include <map>
#include <set>

ScriptExplorer::ScriptExplorer(const ScriptGame& game, std::string path, std::size_t limit)
    : game(game)
    , path(path)
    , limit(limit)
    , visited(0) {}

std::size_t ScriptExplorer::states() const {
    return visited;
}

std::vector<ScriptExplorer::Choice> ScriptExplorer::choices(const ScriptState& at) {
    using Thing = ScriptGame::Thing;
    ScriptPlayer judge(game);
    judge.state = at;
    std::vector<Choice> found;
    const ScriptGame::Scene* scene = game.scene(at.scene);
    for (const Thing& thing : scene->things) {
        if (thing.conditional && !judge.holds(thing.when)) {
            continue;
        }
        if (thing.kind != Thing::OBJECT) {
            // A button marks nothing seen; topics and documents do.
            found.push_back(
                {thing.name, &thing.script, thing.kind == Thing::BUTTON ? "" : thing.name});
            continue;
        }
        // The verb menu has four places, filled with the game's verbs in order.
        for (std::size_t v = 0; v < game.verbs.size() && v < 4; v++) {
            for (const ScriptGame::Verb& verb : thing.verbs) {
                if (verb.name == game.verbs[v] && (!verb.conditional || judge.holds(verb.when))) {
                    found.push_back({thing.name + ": " + verb.name, &verb.script, thing.name});
                    break;
                }
            }
        }
    }
    return found;
}

ScriptExplorer::Outcome ScriptExplorer::play(const ScriptState& from,
                                             const ScriptGame::Script* script,
                                             const std::string& seen) {
    Outcome out;
    ScriptPlayer judge(game); // decides the conditions on the state as it goes
    ScriptState& state = judge.state;
    state = from;
    std::vector<std::pair<const std::vector<Statement>*, std::size_t>> frames;
    const ScriptGame::Scene* running = game.scene(state.scene);
    if (script == nullptr) {
        script = &running->opening;
    } else if (!seen.empty()) {
        state.seen.insert(state.scene + "/" + seen);
    }
    frames.push_back({&script->body, 0});
    state.script = script->key;
    std::size_t steps = 0;
    while (!frames.empty() && out.fault.empty()) {
        auto& frame = frames.back();
        if (frame.second >= frame.first->size()) {
            frames.pop_back();
            continue;
        }
        const Statement& s = (*frame.first)[frame.second++];
        if (++steps > MAX_STEPS) {
            out.fault = s.place.file + ":" + std::to_string(s.place.line) +
                        ": fault: the scripts go on without waiting for a click (scenes that go "
                        "to each other?)";
            break;
        }
        switch (s.kind) {
        case Statement::SAY:
            out.lines.push_back(&s);
            break;
        case Statement::HIDE:
        case Statement::LEFT:
        case Statement::RIGHT:
        case Statement::FLIP:
            if (std::find(running->portraits.begin(), running->portraits.end(), s.name) ==
                running->portraits.end()) {
                out.fault = s.place.file + ":" + std::to_string(s.place.line) +
                            ": fault: " + s.name + " has no portrait in the scene " + running->name;
            }
            break;
        case Statement::CENTER:
            break;
        case Statement::SET:
        case Statement::UNSET:
        case Statement::ASSIGN:
        case Statement::ADD:
            judge.apply(s);
            break;
        case Statement::IF:
        case Statement::FIRST_TIME:
            frames.push_back({&judge.branch(s), 0});
            break;
        case Statement::GO: {
            // As the player goes: the new scene's opening, if any, runs there.
            const ScriptGame::Scene* next = game.scene(s.name);
            state.scene = s.name;
            frames.clear();
            if (!next->opening.body.empty()) {
                frames.push_back({&next->opening.body, 0});
                state.script = next->opening.key;
                running = next;
            }
            break;
        }
        case Statement::END:
            out.ended = true;
            frames.clear();
            break;
        }
    }
    state.script.clear();
    state.place.clear();
    out.next = state;
    return out;
}

// Every line of dialogue in `block` and the blocks under it.
static void collectLines(const std::vector<ScriptGame::Statement>& block,
                         std::vector<const ScriptGame::Statement*>& lines) {
    for (const ScriptGame::Statement& s : block) {
        if (s.kind == ScriptGame::Statement::SAY) {
            lines.push_back(&s);
        }
        collectLines(s.body, lines);
        collectLines(s.otherwise, lines);
    }
}

int ScriptExplorer::run() {
    // Every line, and whether the game can end at all.
    std::vector<const Statement*> all;
    for (const ScriptGame::Scene& scene : game.scenes) {
        collectLines(scene.opening.body, all);
        for (const ScriptGame::Thing& thing : scene.things) {
            collectLines(thing.script.body, all);
            for (const ScriptGame::Verb& verb : thing.verbs) {
                collectLines(verb.script.body, all);
            }
        }
    }
    std::set<const Statement*> reached;

    // Breadth first over the states at rest; each remembers the click that
    // first led to it, so the way back is a shortest path.
    struct Node {
        ScriptState state;
        std::size_t parent;
        std::string click;
        std::vector<std::size_t> next;
        bool ends = false;     // a click here ends the game
        bool explored = false; // its clicks were tried (not cut by the limit)
    };
    std::vector<Node> nodes;
    std::map<ScriptState, std::size_t> index;
    std::vector<std::string> faults;
    std::set<std::string> faulty;
    std::size_t paths = 0;
    bool canEnd = false;
    bool limited = false;

    ScriptState start;
    start.scene = game.start;
    Outcome first = play(start, nullptr, "");
    reached.insert(first.lines.begin(), first.lines.end());
    if (!first.fault.empty()) {
        faults.push_back(path + "/" + first.fault + " (at the start)");
    }
    nodes.push_back({first.next, 0, "", {}, first.ended, false});
    index[first.next] = 0;
    std::deque<std::size_t> queue;
    if (!first.ended && first.fault.empty()) {
        queue.push_back(0);
    }
    canEnd = first.ended;
    // The clicks from the start to node `n`.
    const auto way = [&nodes](std::size_t n) {
        std::vector<std::string> clicks;
        for (; n != 0; n = nodes[n].parent) {
            clicks.push_back(nodes[n].click);
        }
        std::string text;
        for (auto click = clicks.rbegin(); click != clicks.rend(); ++click) {
            text += (text.empty() ? "" : " > ") + *click;
        }
        return text.empty() ? std::string("(the start)") : text;
    };
    while (!queue.empty()) {
        const std::size_t n = queue.front();
        queue.pop_front();
        nodes[n].explored = true;
        const ScriptState at = nodes[n].state;
        for (const Choice& choice : choices(at)) {
            Outcome out = play(at, choice.script, choice.seen);
            paths++;
            reached.insert(out.lines.begin(), out.lines.end());
            if (!out.fault.empty()) {
                // Each fault once, with the shortest way to it.
                if (faulty.insert(out.fault).second) {
                    const std::string where = n == 0 ? choice.click : way(n) + " > " + choice.click;
                    faults.push_back(path + "/" + out.fault + " (after: " + where + ")");
                }
                continue;
            }
            if (out.ended) {
                nodes[n].ends = true;
                canEnd = true;
                continue;
            }
            auto known = index.find(out.next);
            if (known == index.end()) {
                if (nodes.size() >= limit) {
                    limited = true;
                    continue;
                }
                known = index.emplace(out.next, nodes.size()).first;
                nodes.push_back({out.next, n, choice.click, {}, false, false});
                queue.push_back(known->second);
            }
            nodes[n].next.push_back(known->second);
        }
    }
    visited = nodes.size();

    int status = 0;
    for (const Statement* line : all) {
        if (reached.count(line) == 0) {
            std::printf("%s/%s:%d: this line is never reached: %s\n", path.c_str(),
                        line->place.file.c_str(), line->place.line, line->text.c_str());
            status = 1;
        }
    }
    // Dead ends: states from which no click leads, however long, to an ending.
    // A state the limit kept unexplored might still lead to one.
    if (canEnd) {
        std::vector<bool> alive(nodes.size(), false);
        for (bool changed = true; changed;) {
            changed = false;
            for (std::size_t n = nodes.size(); n-- > 0;) {
                bool live = nodes[n].ends || !nodes[n].explored;
                for (std::size_t k = 0; !live && k < nodes[n].next.size(); k++) {
                    live = alive[nodes[n].next[k]];
                }
                if (live && !alive[n]) {
                    alive[n] = true;
                    changed = true;
                }
            }
        }
        std::size_t dead = 0;
        for (std::size_t n = 0; n < nodes.size(); n++) {
            if (!alive[n] && ++dead <= MAX_SHOWN) {
                std::printf("%s: dead end: no ending can be reached after: %s\n", path.c_str(),
                            way(n).c_str());
            }
        }
        if (dead > MAX_SHOWN) {
            std::printf("... and %zu more dead ends\n", dead - MAX_SHOWN);
        }
        status = dead > 0 ? 1 : status;
    }
    for (const std::string& fault : faults) {
        std::printf("%s\n", fault.c_str());
        status = 1;
    }
    if (limited) {
        std::printf("%s: stopped at the limit of %zu states: what is said above is about those\n",
                    path.c_str(), limit);
    }
    std::printf("%zu states, %zu paths, %zu of %zu lines reached\n", nodes.size(), paths,
                reached.size(), all.size());
    return status;
}
