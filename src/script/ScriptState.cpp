#include "ScriptState.h"

#include <tuple>

int ScriptState::counter(const std::string& name) const {
    auto found = counters.find(name);
    return found == counters.end() ? 0 : found->second;
}

void ScriptState::setCounter(const std::string& name, int value) {
    if (value == 0) {
        counters.erase(name);
    } else {
        counters[name] = value;
    }
}

bool ScriptState::operator==(const ScriptState& other) const {
    return std::tie(scene, flags, counters, seen, script, place) ==
           std::tie(other.scene, other.flags, other.counters, other.seen, other.script,
                    other.place);
}

bool ScriptState::operator<(const ScriptState& other) const {
    return std::tie(scene, flags, counters, seen, script, place) <
           std::tie(other.scene, other.flags, other.counters, other.seen, other.script,
                    other.place);
}
