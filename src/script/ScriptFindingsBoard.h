#ifndef SCRIPT_FINDINGSBOARD_H
#define SCRIPT_FINDINGSBOARD_H

#include <cstddef>
#include <string>
#include <vector>

// What is wrong with the game right now, for the player to show over it
// (ScriptOverlay): the findings of the last check of the game's files, and
// the faults met while playing (a picture that could not be read when it was
// needed). Owned by the player; every scene's overlay reads the same board.
class ScriptFindingsBoard {
public:
    // One finding as the checker words it.
    struct Item {
        std::string heading; // "file:line:column: error: words"
        std::string source;  // the line of the file it is about; empty if none
        int column;          // where the caret goes under it, from 1; 0: no caret
    };

    // At most this many items are kept; count() still says how many there were.
    static constexpr std::size_t MAX_ITEMS = 100;

    ScriptFindingsBoard();

    // Replaces what the board shows with `items`.
    void show(const std::vector<Item>& items);
    // Adds one item (a fault met while playing) after the others.
    void add(const Item& item);
    // Empties the board: nothing is wrong any more.
    void clear();

    bool isEmpty() const;
    // The items kept, in the order given.
    const std::vector<Item>& getItems() const;
    // How many items were given since the last show() or clear(), kept or not.
    std::size_t count() const;
    // Changes whenever what the board holds changes, so a reader knows when
    // to draw it again.
    unsigned getGeneration() const;

private:
    std::vector<Item> items;
    std::size_t given;
    unsigned generation;
};

#endif
