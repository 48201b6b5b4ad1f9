#include "ScriptWatcher.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

struct Folder {
    fs::path path = fs::temp_directory_path() / ("kz-watch-" + std::to_string(getpid()));
    Folder() {
        fs::remove_all(path);
        fs::create_directories(path / "pictures");
    }
    ~Folder() { fs::remove_all(path); }
    void put(const std::string& name, const std::string& bytes) {
        std::ofstream(path / name, std::ios::binary) << bytes;
    }
};

using Names = std::vector<std::string>;

} // namespace

// A save, a new file and a removed one are each reported once two looks in
// a row have seen them, and only then; a file still being written is waited
// for; between looks poll() does not look at all.
TEST(ScriptWatcher, SeesSavedAddedAndRemovedFilesOnceTheyAreWhole) {
    Folder game;
    game.put("game.txt", "title Demo\n");
    game.put("pictures/bin.png", "png");
    ScriptWatcher watcher(game.path.string());
    const unsigned look = ScriptWatcher::INTERVAL_MS;
    EXPECT_FALSE(watcher.poll(1000));
    game.put("game.txt", "");                    // emptied by the editor...
    EXPECT_FALSE(watcher.poll(1000 + look - 1)); // too soon to look
    EXPECT_FALSE(watcher.poll(1000 + look));     // seen once: maybe half-written
    game.put("game.txt", "title Demo!\n");       // ...and written
    EXPECT_FALSE(watcher.poll(1000 + 2 * look));
    ASSERT_TRUE(watcher.poll(1000 + 3 * look));
    EXPECT_EQ(Names{"game.txt"}, watcher.changed());
    EXPECT_FALSE(watcher.poll(2000)); // reported once only
    EXPECT_FALSE(watcher.poll(3000));

    game.put("pictures/knife.png", "png");
    fs::remove(game.path / "pictures/bin.png");
    game.put(".game.txt.swp", "editor");
    game.put("game.txt~", "backup");
    EXPECT_FALSE(watcher.poll(4000));
    ASSERT_TRUE(watcher.poll(5000));
    EXPECT_EQ((Names{"pictures/bin.png", "pictures/knife.png"}), watcher.changed());
    EXPECT_FALSE(watcher.poll(6000));
    EXPECT_FALSE(watcher.isLimited());
}

// A folder of very many files, or very deep folders, costs a bounded look.
TEST(ScriptWatcher, LooksAtABoundedNumberOfFilesAndDepth) {
    Folder game;
    fs::path deep = game.path;
    for (int k = 0; k < ScriptWatcher::MAX_DEPTH + 2; ++k) {
        deep /= "d";
    }
    fs::create_directories(deep);
    std::ofstream(deep / "lost.txt") << "x";
    ScriptWatcher deepWatcher(game.path.string());
    std::ofstream(deep / "lost.txt") << "xy";
    EXPECT_FALSE(deepWatcher.poll(1000));
    EXPECT_FALSE(deepWatcher.poll(2000));

    for (std::size_t k = 0; k <= ScriptWatcher::MAX_FILES; ++k) {
        game.put("f" + std::to_string(k), "");
    }
    ScriptWatcher watcher(game.path.string());
    EXPECT_TRUE(watcher.isLimited());
}
