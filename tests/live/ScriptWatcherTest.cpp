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

// A save, a new file and a removed one are each seen at the first look after
// them, and only then; between looks poll() does not look at all.
TEST(ScriptWatcher, SeesSavedAddedAndRemovedFilesAtTheNextLook) {
    Folder game;
    game.put("game.txt", "title Demo\n");
    game.put("pictures/bin.png", "png");
    ScriptWatcher watcher(game.path.string());
    EXPECT_FALSE(watcher.poll(1000));
    game.put("game.txt", "title Demo!\n");
    EXPECT_FALSE(watcher.poll(1000 + ScriptWatcher::INTERVAL_MS - 1)); // too soon to look
    ASSERT_TRUE(watcher.poll(1000 + ScriptWatcher::INTERVAL_MS));
    EXPECT_EQ(Names{"game.txt"}, watcher.changed());
    EXPECT_FALSE(watcher.poll(2000)); // seen once only

    game.put("pictures/knife.png", "png");
    fs::remove(game.path / "pictures/bin.png");
    game.put(".game.txt.swp", "editor");
    game.put("game.txt~", "backup");
    ASSERT_TRUE(watcher.poll(3000));
    EXPECT_EQ((Names{"pictures/bin.png", "pictures/knife.png"}), watcher.changed());
    EXPECT_FALSE(watcher.poll(4000));
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

    for (std::size_t k = 0; k <= ScriptWatcher::MAX_FILES; ++k) {
        game.put("f" + std::to_string(k), "");
    }
    ScriptWatcher watcher(game.path.string());
    EXPECT_TRUE(watcher.isLimited());
}
