#include "ScriptFindingsBoard.h"

ScriptFindingsBoard::ScriptFindingsBoard()
    : items()
    , given(0)
    , generation(0) {}

void ScriptFindingsBoard::show(const std::vector<Item>& shown) {
    clear();
    for (const Item& item : shown) {
        add(item);
    }
}

void ScriptFindingsBoard::add(const Item& item) {
    if (items.size() < MAX_ITEMS) {
        items.push_back(item);
    }
    ++given;
    ++generation;
}

void ScriptFindingsBoard::clear() {
    if (!items.empty() || given != 0) {
        items.clear();
        given = 0;
        ++generation;
    }
}

bool ScriptFindingsBoard::isEmpty() const {
    return given == 0;
}

const std::vector<ScriptFindingsBoard::Item>& ScriptFindingsBoard::getItems() const {
    return items;
}

std::size_t ScriptFindingsBoard::count() const {
    return given;
}

unsigned ScriptFindingsBoard::getGeneration() const {
    return generation;
}
