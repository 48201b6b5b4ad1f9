#include "ScriptSave.h"

#include "TestSupport.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// A fresh folder of its own for each test.
std::string scratch(const std::string& name) {
    const fs::path folder =
        fs::temp_directory_path() / ("kz-save-" + std::to_string(getpid())) / name;
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder.string();
}

void putFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// Mid-game in the script demo: the knife taken, in the middle of the bin's answer.
ScriptSaved midGame() {
    ScriptSaved state;
    state.scene = "investigacion";
    state.flags = {"cuchillo", "visto_cuerpo"};
    state.counters = {{"preguntas", 3}, {"negativo", -2}};
    state.seen = {"policia Hablar", "basurero Examinar"};
    state.script = "basurero Recoger";
    state.line = "Inspector: Ah! Un cuchillo... ¿será el arma?";
    state.place = {2, 3};
    return state;
}

// What read() says about the save at `path` (it must not be usable).
std::string refusal(const std::string& path) {
    ScriptSave save(path);
    ScriptSaved state = midGame();
    testsupport::captureStdout();
    const bool read = save.read(state);
    const std::string said = testsupport::capturedStdout();
    EXPECT_FALSE(read) << path;
    EXPECT_TRUE(state == midGame()) << "a refused save changed the state";
    return said;
}

} // namespace

TEST(ScriptSave, WrittenSaveIsReadableJsonByNameAndReadsBackTheSame) {
    const std::string path = scratch("write") + "/deeper/save.json";
    ScriptSave save(path);
    EXPECT_FALSE(save.exists());
    ASSERT_TRUE(save.write(midGame()));
    std::ifstream file(path);
    const std::string text((std::istreambuf_iterator<char>(file)),
                           std::istreambuf_iterator<char>());
    EXPECT_EQ(0u, text.find("{\n  \"version\": 1,\n  \"scene\": \"investigacion\",\n"));
    EXPECT_NE(std::string::npos, text.find("\"script\": \"basurero Recoger\""));
    EXPECT_FALSE(fs::exists(path + ".new"));
    ScriptSaved back;
    EXPECT_TRUE(save.read(back));
    EXPECT_TRUE(back == midGame());

    ScriptSaved rest = midGame(); // at rest: no place written or read
    rest.script.clear();
    rest.line.clear();
    rest.place.clear();
    ASSERT_TRUE(save.write(rest));
    EXPECT_TRUE(save.read(back));
    EXPECT_TRUE(back == rest);
}

TEST(ScriptSave, SavesLiveInTheSystemsDataFolderUnderTheGamesTitle) {
    setenv("XDG_DATA_HOME", "/data/here", 1);
    EXPECT_EQ("/data/here/kz/El caso/save.json", ScriptSave::pathFor("El caso"));
    EXPECT_EQ("/data/here/kz/_._a_b_c/save.json", ScriptSave::pathFor("../a/b\\c"));
    setenv("XDG_DATA_HOME", "relative", 1); // not absolute: ignored, as the standard says
    setenv("HOME", "/home/writer", 1);
    EXPECT_EQ("/home/writer/.local/share/kz/game/save.json", ScriptSave::pathFor(""));
    unsetenv("XDG_DATA_HOME");
}

TEST(ScriptSave, ASaveCutAtAnyByteIsReportedAndIgnored) {
    const std::string folder = scratch("cut");
    const std::string text = ScriptSave::toText(midGame());
    const std::string path = folder + "/save.json";
    // The whole text less its last newline is still the whole save.
    for (std::size_t length = 0; length + 1 < text.size(); ++length) {
        putFile(path, text.substr(0, length));
        ASSERT_EQ("The save " + path + " is ignored: it is not a save (cut short or damaged)\n",
                  refusal(path))
            << "cut at byte " << length;
    }
}

TEST(ScriptSave, JunkHostileValuesHugeFilesAndFoldersAreReportedAndIgnored) {
    const std::string folder = scratch("hostile");
    const std::string path = folder + "/save.json";
    const std::string damaged = "it is not a save (cut short or damaged)";
    const std::string head = "{\"version\": 1, \"scene\": \"s\", ";
    std::mt19937 random(23);
    std::string junk(4096, '\0');
    for (char& c : junk) {
        c = static_cast<char>(random());
    }
    const struct {
        std::string text;
        std::string why;
    } cases[] = {
        {junk, damaged},
        {std::string("{\"version\": 1, \"scene\": \"s\0\"}", 30), damaged},
        {"{\"version\": 1, \"scene\": \"\xff\xfe\"}", damaged}, // not UTF-8
        {std::string(200000, '[') + std::string(200000, ']'), damaged},
        {"[1, 2]", damaged},
        {"{\"scene\": \"s\"}", "it is not a save (it has no version)"},
        {"{\"version\": \"1\", \"scene\": \"s\"}", "it is not a save (it has no version)"},
        {"{\"version\": 2, \"scene\": \"s\"}",
         "it was made by another version of the player (save version 2, this one reads 1)"},
        {"{\"version\": 18446744073709551615, \"scene\": \"s\"}",
         "it was made by another version of the player (save version 18446744073709551615, "
         "this one reads 1)"},
        {"{\"version\": 1, \"scene\": 7}", "\"scene\" is not the name of a scene"},
        {"{\"version\": 1, \"scene\": \"\"}", "\"scene\" is not the name of a scene"},
        {"{\"version\": 1, \"scene\": \"s\\u0000t\"}", "\"scene\" is not the name of a scene"},
        {"{\"version\": 1, \"scene\": \"" + std::string(1001, 'a') + "\"}",
         "\"scene\" is not the name of a scene"},
        {head + "\"flags\": \"cuchillo\"}", "\"flags\" is not a list of names"},
        {head + "\"seen\": [[]]}", "\"seen\" is not a list of names"},
        {head + "\"counters\": {\"a\": 1.5}}",
         "\"counters\" is not a table of names and whole numbers"},
        {head + "\"counters\": {\"a\": 2147483648}}",
         "\"counters\" is not a table of names and whole numbers"},
        {head + "\"counters\": {\"a\": -2147483649}}",
         "\"counters\" is not a table of names and whole numbers"},
        {head + "\"counters\": {\"a\": 18446744073709551615}}",
         "\"counters\" is not a table of names and whole numbers"},
        {head + "\"counters\": [1]}", "\"counters\" is not a table of names and whole numbers"},
        {head + "\"place\": {\"script\": \"x\"}}", "\"place\" is not a script and a line"},
        {head + "\"place\": {\"script\": \"x\", \"line\": 3}}",
         "\"place\" is not a script and a line"},
        {head + "\"place\": {\"script\": \"x\", \"line\": \"y\", \"at\": [1, -2]}}",
         "\"place\" is not a script and a line"},
    };
    for (const auto& bad : cases) {
        putFile(path, bad.text);
        EXPECT_EQ("The save " + path + " is ignored: " + bad.why + "\n", refusal(path))
            << bad.text.substr(0, 80);
    }

    putFile(path, std::string(ScriptSave::MAX_BYTES + 1, ' '));
    EXPECT_EQ("The save " + path + " is ignored: it is larger than 1 MiB\n", refusal(path));
    fs::remove(path);
    fs::create_directory(path);
    EXPECT_EQ("The save " + path + " is ignored: it is a folder, not a file\n", refusal(path));
    EXPECT_EQ("", refusal(folder + "/none.json")); // no save yet: nothing to report
}

TEST(ScriptSave, AFailedWriteSaysWhyAndKeepsTheOldSave) {
    const std::string folder = scratch("fail");
    ScriptSave old(folder + "/save.json");
    ASSERT_TRUE(old.write(midGame()));
    fs::create_directory(folder + "/save.json.new/"); // the new file cannot be made
    fs::create_directory(folder + "/save.json.new/blocker");
    testsupport::captureStdout();
    ScriptSaved other;
    other.scene = "calle";
    EXPECT_FALSE(old.write(other));
    EXPECT_EQ("Could not save the game in " + folder + "/save.json: Is a directory\n",
              testsupport::capturedStdout());
    ScriptSaved back;
    EXPECT_TRUE(old.read(back));
    EXPECT_TRUE(back == midGame());
}

// After an edit: a flag removed, a scene renamed, a "first time" block and a
// line gone. What still fits is kept; each drop is said once.
TEST(ScriptSave, LoadingAfterAnEditKeepsWhatStillFitsAndSaysWhatWasDropped) {
    ScriptSaveNames names;
    names.firstScene = "menu";
    names.scenes = {"menu", "investigacion", "callejon"}; // "calle" was renamed
    names.flags = {"cuchillo"};                           // "visto_cuerpo" was removed
    names.counters = {"preguntas"};
    names.blocks = {"policia Hablar"};
    names.scripts = {{"basurero Recoger", {"Inspector: Ah! Un cuchillo... ¿será el arma?"}}};

    ScriptSaved state = midGame();
    testsupport::captureStdout();
    ScriptSave::keepWhatFits(state, names);
    EXPECT_EQ("The save's flag \"visto_cuerpo\" is no longer in the game: dropped\n"
              "The save's counter \"negativo\" is no longer in the game: dropped\n"
              "The save's block or thing seen \"basurero Examinar\" is no longer in the game: "
              "dropped\n",
              testsupport::capturedStdout());
    ScriptSaved kept = midGame();
    kept.flags = {"cuchillo"};
    kept.counters = {{"preguntas", 3}};
    kept.seen = {"policia Hablar"};
    EXPECT_TRUE(state == kept);

    names.scripts["basurero Recoger"] = {"Inspector: Un cuchillo."}; // the line was rewritten
    testsupport::captureStdout();
    ScriptSave::keepWhatFits(state, names);
    EXPECT_EQ("The save's line \"Inspector: Ah! Un cuchillo... ¿será el arma?\" is no longer in "
              "basurero Recoger: the scene starts at rest\n",
              testsupport::capturedStdout());
    EXPECT_EQ("investigacion", state.scene);
    EXPECT_EQ("", state.script + state.line);
    EXPECT_TRUE(state.place.empty());

    state = midGame();
    state.scene = "calle";
    state.flags.clear();
    state.counters.clear();
    state.seen.clear();
    testsupport::captureStdout();
    ScriptSave::keepWhatFits(state, names);
    EXPECT_EQ("The save's scene \"calle\" is no longer in the game: starting at \"menu\"\n",
              testsupport::capturedStdout());
    EXPECT_EQ("menu", state.scene);
    EXPECT_EQ("", state.script + state.line);
    EXPECT_TRUE(state.place.empty());
}

// A player killed at any moment while saving, over and over: the save on the
// disk is always one of the states it was writing, never a broken file.
TEST(ScriptSave, AProcessKilledWhileSavingNeverLeavesAnUnreadableSave) {
    const std::string path = scratch("kill") + "/save.json";
    ScriptSaved first = midGame();
    ScriptSaved second = midGame();
    for (int k = 0; k < 2000; ++k) { // large enough that a write takes a while
        second.flags.insert("flag" + std::to_string(k));
    }
    ASSERT_TRUE(ScriptSave(path).write(first));
    std::mt19937 random(22);
    for (int round = 0; round < 40; ++round) {
        const pid_t child = fork();
        ASSERT_NE(-1, child);
        if (child == 0) {
            std::fclose(stdout); // the child's reports are not the test's
            for (long n = 0;; ++n) {
                ScriptSave(path).write(n % 2 == 0 ? second : first);
            }
        }
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 20000));
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        ScriptSaved back;
        testsupport::captureStdout();
        ASSERT_TRUE(ScriptSave(path).read(back)) << testsupport::capturedStdout();
        testsupport::capturedStdout();
        EXPECT_TRUE(back == first || back == second) << "round " << round;
    }
}
