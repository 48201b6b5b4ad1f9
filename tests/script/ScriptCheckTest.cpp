// Every finding a writer can get from `kz check`, held to its exact words: a
// table of broken games, each the small good game below with one thing
// broken, checked as `kz check game` checks it (ScriptLoad, what kz runs).
#include "ScriptLoad.h"
#include "ScriptPlayer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>
#include <zip.h>

namespace {

std::string fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// File contents that stand for something else: a picture or font of the
// checkout's res/, a link, or no file at all.
const std::string PNG = "@res/opaque.png";
const std::string FONT = "@res/Vera.ttf";
const std::string GONE = "@gone";
const std::string DIR = "@dir";

using Files = std::map<std::string, std::string>;

// A small game with no findings: two scenes, a portrait, an object with two
// verbs, a flag and a counter.
Files goodGame() {
    return {
        {"game.kz", "title Prueba\nstart menu\nverbs Hablar Examinar\n"
                    "character Ana ana.png\ncharacter Voz\n"},
        {"menu.scene", "background main.png\nportrait Ana\n\nopening\n\tAna: Hola\n\thide Ana\n\n"
                       "object Caja at 10 20 picture main.png\n\tExaminar\n\t\tif abierta\n"
                       "\t\t\tVacía\n\t\telse\n\t\t\tCerrada\n\t\t\tset abierta\n"
                       "\tHablar\n\t\tadd veces 1\n\t\tif veces > 2\n\t\t\tgo sala\n"},
        {"sala.scene", "opening\n\tVoz: Fin\n\tgo menu\n"},
        {"res/Vera.ttf", FONT},
        {"res/opaque.png", PNG},
        {"res/pressbutton.png", PNG},
        {"res/main.png", PNG},
        {"res/ana.png", PNG},
    };
}

// A fresh folder under the system's temporary one, removed afterwards, for
// the game `name` made of `base` and the changes of each check. The test runs
// in it, so findings are shown under the game's name.
class GameFolder {
public:
    std::string root;
    std::string previous;
    std::string name;
    Files base;

    explicit GameFolder(std::string name = "game", Files base = goodGame())
        : name(name)
        , base(base) {
        char pattern[] = "/tmp/kz-check-XXXXXX";
        root = mkdtemp(pattern);
        char cwd[4096];
        previous = getcwd(cwd, sizeof cwd);
        mkdir((root + "/" + name).c_str(), 0700);
        mkdir((root + "/" + name + "/res").c_str(), 0700);
        // Beside the game, outside it: a pipe, which blocks whoever opens it
        // to read. A check that opened anything out of the folder would hang.
        mkfifo((root + "/outside").c_str(), 0600);
    }
    ~GameFolder() {
        EXPECT_EQ(chdir(previous.c_str()), 0);
        EXPECT_EQ(std::system(("rm -rf " + root).c_str()), 0);
    }

    void write(const std::string& file, const std::string& content) {
        const std::string path = root + "/" + name + "/" + file;
        std::remove(path.c_str());
        if (content == GONE) {
            return;
        }
        if (content == DIR) {
            ASSERT_EQ(mkdir(path.c_str(), 0700), 0);
            return;
        }
        if (content.compare(0, 6, "@link:") == 0) {
            ASSERT_EQ(symlink(content.substr(6).c_str(), path.c_str()), 0);
            return;
        }
        std::ofstream out(path, std::ios::binary);
        out << (content[0] == '@' ? fileBytes(previous + "/" + content.substr(1)) : content);
    }

    // What `kz check NAME` prints, from the folder above the game.
    std::string check(Files changes, bool* ok = nullptr) {
        Files files = base;
        for (const auto& change : changes) {
            files[change.first] = change.second;
        }
        for (const auto& file : files) {
            write(file.first, file.second);
        }
        EXPECT_EQ(chdir(root.c_str()), 0);
        ScriptLoad load(name);
        if (ok != nullptr) {
            *ok = load.ok;
        }
        return load.report();
    }
};

// `file` of the good game with its first `from` replaced by `to`.
std::pair<const std::string, std::string> edit(const std::string& file, const std::string& from,
                                               const std::string& to) {
    std::string text = goodGame()[file];
    text.replace(text.find(from), from.size(), to);
    return {file, text};
}

struct Case {
    const char* what;
    Files changes;
    std::string expected;
};

void checkTable(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        GameFolder folder;
        bool ok = false;
        EXPECT_EQ(folder.check(c.changes, &ok), c.expected) << c.what;
        // kz check's exit status: 1 exactly when an error is among the findings.
        EXPECT_EQ(ok, c.expected.find(": error: ") == std::string::npos) << c.what;
    }
}

TEST(ScriptCheck, AGoodGameHasNoFindingsWhateverItsLineEndsAndIndentation) {
    GameFolder folder;
    EXPECT_EQ(folder.check({}), "");
    EXPECT_EQ(
        folder.check({edit("menu.scene", "\t\t\tgo sala\n",
                           "\t\t\tgo sala\n\t\telse if veces = 1\n\t\t\tUna\n\t\telse if "
                           "not (veces < 0 or seen Caja)\n\t\t\tDos\n\t\telse\n\t\t\tMás\n")}),
        "");
    // Windows line ends, a byte-order mark, and spaces where the tabs were.
    Files files = goodGame();
    std::string scene;
    for (char c : files["menu.scene"]) {
        scene += c == '\n'   ? std::string("\r\n")
                 : c == '\t' ? std::string("    ")
                             : std::string(1, c);
    }
    EXPECT_EQ(folder.check({{"menu.scene", "\xEF\xBB\xBF" + scene},
                            {"game.kz", "\xEF\xBB\xBF" + files["game.kz"]}}),
              "");
}

TEST(ScriptCheck, NamesThatMeanNothing) {
    checkTable({
        {"speaker",
         {edit("menu.scene", "Ana: Hola", "Anna: Hola")},
         "game/menu.scene:5:2: error: unknown speaker 'Anna'; did you mean 'Ana'? (to show this "
         "line as it is, begin it with 'say ')\n"
         "\tAnna: Hola\n"
         "\t^\n"
         "1 error, 0 warnings\n"},
        {"speaker far from any",
         {edit("menu.scene", "Ana: Hola", "Nota: Hola")},
         "game/menu.scene:5:2: error: unknown speaker 'Nota' (to show this line as it is, begin it "
         "with 'say ')\n"
         "\tNota: Hola\n"
         "\t^\n"
         "1 error, 0 warnings\n"},
        {"object",
         {edit("menu.scene", "if abierta", "if seen Caj")},
         "game/menu.scene:10:11: error: unknown object, topic or document 'Caj' in scene 'menu'; "
         "did you mean 'Caja'?\n"
         "\t\tif seen Caj\n"
         "\t\t        ^\n"
         "game/menu.scene:14:8: warning: flag 'abierta' is set but never read\n"
         "\t\t\tset abierta\n"
         "\t\t\t    ^\n"
         "1 error, 1 warning\n"},
        {"scene",
         {edit("menu.scene", "go sala", "go sal")},
         "game/menu.scene:18:7: error: unknown scene 'sal'; did you mean 'sala'? (to show this "
         "line as it is, begin it with 'say ')\n"
         "\t\t\tgo sal\n"
         "\t\t\t   ^\n"
         "game/sala.scene: warning: no scene goes to scene 'sala' and the game does not start "
         "there: it can never be played\n"
         "1 error, 1 warning\n"},
        {"start scene",
         {edit("game.kz", "start menu", "start menus")},
         "game/game.kz:2:7: error: unknown scene 'menus'; did you mean 'menu'?\n"
         "start menus\n"
         "      ^\n"
         "1 error, 0 warnings\n"},
        {"portrait",
         {edit("menu.scene", "hide Ana", "hide Anna")},
         "game/menu.scene:6:7: error: unknown portrait 'Anna'; did you mean 'Ana'?\n"
         "\thide Anna\n"
         "\t     ^\n"
         "1 error, 0 warnings\n"},
        {"character without portrait here",
         {edit("menu.scene", "hide Ana", "hide Voz")},
         "game/menu.scene:6:7: error: 'Voz' has no portrait in scene 'menu': add the line "
         "'portrait Voz' to it\n"
         "\thide Voz\n"
         "\t     ^\n"
         "1 error, 0 warnings\n"},
        {"character",
         {edit("menu.scene", "portrait Ana", "portrait Bob")},
         "game/menu.scene:2:10: error: unknown character 'Bob'\n"
         "portrait Bob\n"
         "         ^\n"
         "game/menu.scene:6:7: error: 'Ana' has no portrait in scene 'menu': add the line "
         "'portrait Ana' to it\n"
         "\thide Ana\n"
         "\t     ^\n"
         "2 errors, 0 warnings\n"},
        {"verb",
         {edit("menu.scene", "\tExaminar", "\tExaminr")},
         "game/menu.scene:9:2: error: verb 'Examinr' is not in the game's verb list; did you mean "
         "'Examinar'?\n"
         "\tExaminr\n"
         "\t^\n"
         "1 error, 0 warnings\n"},
        {"flag",
         {edit("menu.scene", "if abierta", "if abiert")},
         "game/menu.scene:10:6: error: flag 'abiert' is read but never set; did you mean "
         "'abierta'?\n"
         "\t\tif abiert\n"
         "\t\t   ^\n"
         "game/menu.scene:14:8: warning: flag 'abierta' is set but never read\n"
         "\t\t\tset abierta\n"
         "\t\t\t    ^\n"
         "1 error, 1 warning\n"},
        {"counter",
         {edit("menu.scene", "if veces > 2", "if vez > 2")},
         "game/menu.scene:16:7: warning: counter 'veces' is set but never read\n"
         "\t\tadd veces 1\n"
         "\t\t    ^\n"
         "game/menu.scene:17:6: error: counter 'vez' is read but never set\n"
         "\t\tif vez > 2\n"
         "\t\t   ^\n"
         "1 error, 1 warning\n"},
        {"setting",
         {edit("game.kz", "title", "titel")},
         "game/game.kz: error: the game file has no 'title' line (the window's title)\n"
         "game/game.kz:1:1: error: unknown setting 'titel'; did you mean 'title'?\n"
         "titel Prueba\n"
         "^\n"
         "2 errors, 0 warnings\n"},
        {"scene line",
         {edit("menu.scene", "object Caja", "objet Caja")},
         "game/menu.scene:8:1: error: unknown line 'objet' in a scene; did you mean 'object'?\n"
         "objet Caja at 10 20 picture main.png\n"
         "^\n"
         "game/sala.scene: warning: no scene goes to scene 'sala' and the game does not start "
         "there: it can never be played\n"
         "1 error, 1 warning\n"},
    });
}

TEST(ScriptCheck, NamesGivenTwiceAndStateThatIsNeverUsed) {
    checkTable({
        {"object",
         {edit("menu.scene", "object Caja",
               "object Caja at 1 1 picture main.png\n\tHablar\n\t\tHola\nobject Caja")},
         "game/menu.scene:11:8: error: duplicate name 'Caja' (first at line 8)\n"
         "object Caja at 10 20 picture main.png\n"
         "       ^\n"
         "1 error, 0 warnings\n"},
        {"character",
         {edit("game.kz", "character Voz", "character Ana")},
         "game/game.kz:5:11: error: duplicate character 'Ana' (first at line 4)\n"
         "character Ana\n"
         "          ^\n"
         "game/sala.scene:2:2: error: unknown speaker 'Voz' (to show this line as it is, begin it "
         "with 'say ')\n"
         "\tVoz: Fin\n"
         "\t^\n"
         "2 errors, 0 warnings\n"},
        {"verb block",
         {edit("menu.scene", "\tHablar", "\tExaminar")},
         "game/menu.scene:15:2: error: duplicate verb 'Examinar' (first at line 9)\n"
         "\tExaminar\n"
         "\t^\n"
         "1 error, 0 warnings\n"},
        {"flag never read",
         {edit("menu.scene", "if abierta", "if veces")},
         "game/menu.scene:14:8: warning: flag 'abierta' is set but never read\n"
         "\t\t\tset abierta\n"
         "\t\t\t    ^\n"
         "0 errors, 1 warning\n"},
        {"flag and counter",
         {edit("menu.scene", "add veces 1", "set abierta = 1")},
         "game/menu.scene:16:7: error: 'abierta' is used as a counter here but as a flag at "
         "menu.scene:14\n"
         "\t\tset abierta = 1\n"
         "\t\t    ^\n"
         "game/menu.scene:17:6: error: counter 'veces' is read but never set\n"
         "\t\tif veces > 2\n"
         "\t\t   ^\n"
         "2 errors, 0 warnings\n"},
        {"scene no one reaches",
         {{"lejos.scene", "opening\n\tHola\n"}},
         "game/lejos.scene: warning: no scene goes to scene 'lejos' and the game does not start "
         "there: it can never be played\n"
         "0 errors, 1 warning\n"},
    });
}

TEST(ScriptCheck, PicturesAndFontsThatCannotBeShown) {
    checkTable({
        {"missing",
         {edit("menu.scene", "background main.png", "background falta.png")},
         "game/menu.scene:1:12: error: background 'falta.png' is not in the game's folder (looked "
         "for res/falta.png)\n"
         "background falta.png\n"
         "           ^\n"
         "1 error, 0 warnings\n"},
        {"letter case",
         {edit("menu.scene", "background main.png", "background Main.png")},
         "game/menu.scene:1:12: error: background 'Main.png' is spelt 'res/main.png' in the "
         "folder: letter case must match (it would work on Windows but not on Linux or the web)\n"
         "background Main.png\n"
         "           ^\n"
         "1 error, 0 warnings\n"},
        {"not a PNG",
         {{"res/ana.png", "\xFF\xD8\xFF\xE0 a JPEG, really"}},
         "game/game.kz:4:15: error: picture 'ana.png' is not a PNG picture\n"
         "character Ana ana.png\n"
         "              ^\n"
         "1 error, 0 warnings\n"},
        {"cut short",
         {{"res/ana.png", fileBytes("res/opaque.png").substr(0, 60)}},
         "game/game.kz:4:15: error: picture 'ana.png' is cut short: the file ends before the "
         "picture does\n"
         "character Ana ana.png\n"
         "              ^\n"
         "1 error, 0 warnings\n"},
        {"font missing",
         {{"res/Vera.ttf", GONE}},
         "game/game.kz: error: the game has no 'font' line, so it uses 'Vera.ttf', which is not in "
         "the game's folder (looked for res/Vera.ttf)\n"
         "1 error, 0 warnings\n"},
        {"font not TrueType",
         {{"game.kz", goodGame()["game.kz"] + "font main.png\n"}},
         "game/game.kz:6:6: error: font 'main.png' is not a TrueType font\n"
         "font main.png\n"
         "     ^\n"
         "1 error, 0 warnings\n"},
        {"font cut short",
         {{"res/Vera.ttf", fileBytes("res/Vera.ttf").substr(0, 400)}},
         "game/game.kz: error: the game has no 'font' line, so it uses 'Vera.ttf', which is cut "
         "short: the file ends before the font does\n"
         "1 error, 0 warnings\n"},
        {"framework picture",
         {{"res/pressbutton.png", GONE}},
         "game/game.kz: error: the dialog box and the buttons need the picture 'pressbutton.png', "
         "which is not in the game's folder (looked for res/pressbutton.png)\n"
         "1 error, 0 warnings\n"},
        {"a folder",
         {{"res/ana.png", DIR}},
         "game/game.kz:4:15: error: picture 'ana.png' is not a file\n"
         "character Ana ana.png\n"
         "              ^\n"
         "1 error, 0 warnings\n"},
    });
}

TEST(ScriptCheck, PathsCannotLeaveTheGamesFolder) {
    checkTable({
        {"..",
         {edit("menu.scene", "background main.png", "background ../../secreto.png")},
         "game/menu.scene:1:12: error: background '../../secreto.png' is not a name inside the "
         "game's folder (no absolute paths, '..', '\\' or ':')\n"
         "background ../../secreto.png\n"
         "           ^\n"
         "1 error, 0 warnings\n"},
        {"absolute",
         {edit("menu.scene", "background main.png", "background /etc/passwd")},
         "game/menu.scene:1:12: error: background '/etc/passwd' is not a name inside the game's "
         "folder (no absolute paths, '..', '\\' or ':')\n"
         "background /etc/passwd\n"
         "           ^\n"
         "1 error, 0 warnings\n"},
        {"backslash",
         {edit("menu.scene", "background main.png", "background ..\\main.png")},
         "game/menu.scene:1:12: error: background '..\\main.png' is not a name inside the game's "
         "folder (no absolute paths, '..', '\\' or ':')\n"
         "background ..\\main.png\n"
         "           ^\n"
         "1 error, 0 warnings\n"},
        {"link out",
         {{"res/ana.png", "@link:/etc/passwd"}},
         "game/game.kz:4:15: error: picture 'ana.png' leads out of the game's folder\n"
         "character Ana ana.png\n"
         "              ^\n"
         "1 error, 0 warnings\n"},
        {"link to a pipe out",
         {{"res/ana.png", "@link:../../outside"}},
         "game/game.kz:4:15: error: picture 'ana.png' leads out of the game's folder\n"
         "character Ana ana.png\n"
         "              ^\n"
         "1 error, 0 warnings\n"},
        {"link to a folder out",
         {{"res/fuera", "@link:/etc"}, edit("game.kz", "ana.png", "fuera/passwd")},
         "game/game.kz:4:15: error: picture 'fuera/passwd' leads out of the game's folder\n"
         "character Ana fuera/passwd\n"
         "              ^\n"
         "1 error, 0 warnings\n"},
        {"scene file a link out",
         {{"sala.scene", "@link:/etc/passwd"}},
         "game/sala.scene: error: the file leads out of the game's folder\n"
         "1 error, 0 warnings\n"},
        {"link inside", {{"res/ana.png", "@link:main.png"}}, ""},
    });
}

TEST(ScriptCheck, FilesThatAreNotScripts) {
    checkTable({
        {"too large",
         {{"sala.scene", std::string(1024 * 1024 + 1, 'a')}},
         "game/sala.scene: error: the file cannot be read: it is too large (more than 1048576 "
         "bytes)\n"
         "1 error, 0 warnings\n"},
        {"line too long",
         {{"sala.scene", "opening\n\t" + std::string(2001, 'a') + "\n"}},
         (std::string("game/sala.scene:2:2001: error: the line is too long (a line may have at "
                      "most 2000 bytes)\n\t") +
          std::string(1999, 'a') + "\n\t" + std::string(1999, ' ') + "^\n1 error, 0 warnings\n")},
        {"nesting too deep",
         {{"sala.scene",
           [] {
               std::string s = "opening\n";
               for (int i = 1; i < 18; i++) {
                   s += std::string(i, '\t') + "if abierta\n";
               }
               return s + std::string(18, '\t') + "go menu\n";
           }()}},
         "game/sala.scene:17:17: error: nesting too deep (at most 16 levels of indentation)\n"
         "\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\tif abierta\n"
         "\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t^\n"
         "1 error, 0 warnings\n"},
        {"invalid UTF-8",
         {{"sala.scene", "opening\n\tVoz: Ma\xF1"
                         "ana\n\tgo menu\n"}},
         "game/sala.scene:2:9: error: bytes that are not UTF-8 text: save the file as UTF-8\n"
         "\tVoz: Ma\n"
         "\t       ^\n"
         "1 error, 0 warnings\n"},
        {"NUL",
         {{"sala.scene", std::string("opening\n\tVoz:\0 Fin\n", 17)}},
         "game/sala.scene:2:6: error: a NUL byte: this is not a text file\n"
         "\tVoz:\n"
         "\t    ^\n"
         "1 error, 0 warnings\n"},
        {"binary junk",
         {{"sala.scene", fileBytes("res/opaque.png")}},
         "game/sala.scene:1:1: error: bytes that are not UTF-8 text: save the file as UTF-8\n"
         "1 error, 0 warnings\n"},
        {"truncated",
         {{"sala.scene", "opening\n\tVoz: Fin\n\tif abierta\n"}},
         "game/sala.scene:3:2: error: 'if' has nothing indented under it\n"
         "\tif abierta\n"
         "\t^\n"
         "1 error, 0 warnings\n"},
        {"no game file",
         {{"game.kz", GONE}},
         "game/game.kz: error: there is no game file 'game.kz' in the game's folder\n"
         "1 error, 0 warnings\n"},
        {"empty game file",
         {{"game.kz", ""}},
         "game/game.kz: error: the game file has no 'start' line (the first scene)\n"
         "game/game.kz: error: the game file has no 'title' line (the window's title)\n"
         "game/game.kz: error: the game file has no 'verbs' line (the verb menu, in order)\n"
         "game/menu.scene:2:10: error: unknown character 'Ana'\n"
         "portrait Ana\n"
         "         ^\n"
         "game/menu.scene:5:2: error: unknown speaker 'Ana' (to show this line as it is, begin it "
         "with 'say ')\n"
         "\tAna: Hola\n"
         "\t^\n"
         "game/sala.scene:2:2: error: unknown speaker 'Voz' (to show this line as it is, begin it "
         "with 'say ')\n"
         "\tVoz: Fin\n"
         "\t^\n"
         "6 errors, 0 warnings\n"},
    });
    // Scenes past the thousandth are not read: a chain of 1000 more from
    // sala, each going to the next, breaks where the reading stops.
    Files chain = {{"sala.scene", "opening\n\tgo z0000\n"}};
    for (int i = 0; i < 1000; i++) {
        char name[16], next[16];
        std::snprintf(name, sizeof name, "z%04d.scene", i);
        std::snprintf(next, sizeof next, "z%04d", i + 1);
        chain[name] = std::string("opening\n\tgo ") + next + "\n";
    }
    EXPECT_EQ(GameFolder().check(chain),
              "game/game.kz: error: the game has 1002 scene files; at most 1000 are read\n"
              "game/z0997.scene:2:5: error: unknown scene 'z0998'; did you mean 'z0098'? (to show "
              "this line as it is, begin it with 'say ')\n"
              "\tgo z0998\n"
              "\t   ^\n"
              "2 errors, 0 warnings\n");
}

// The folder is checked, then entered to play: one that went away between
// the two is said so, and nothing starts.
TEST(ScriptCheck, AGameThatMovedAfterItsCheckDoesNotStart) {
    GameFolder folder;
    ASSERT_EQ(folder.check({}), "");
    ScriptLoad load("game");
    ASSERT_TRUE(load.ok);
    ASSERT_EQ(std::rename("game", "moved"), 0);
    testing::internal::CaptureStdout();
    EXPECT_EQ(ScriptPlayer::play(load, false), 1);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "game: error: the game's folder cannot be entered\n");
}

TEST(ScriptCheck, ScriptsThatDoNotParse) {
    checkTable({
        {"else alone",
         {edit("menu.scene", "\t\tadd veces 1", "\t\telse\n\t\t\tHola")},
         "game/menu.scene:16:3: error: 'else' must follow an 'if' block at the same indentation\n"
         "\t\telse\n"
         "\t\t^\n"
         "game/menu.scene:18:6: error: counter 'veces' is read but never set\n"
         "\t\tif veces > 2\n"
         "\t\t   ^\n"
         "2 errors, 0 warnings\n"},
        {"condition",
         {edit("menu.scene", "if veces > 2", "if veces > dos")},
         "game/menu.scene:16:7: warning: counter 'veces' is set but never read\n"
         "\t\tadd veces 1\n"
         "\t\t    ^\n"
         "game/menu.scene:17:14: error: a whole number is needed after '>'\n"
         "\t\tif veces > dos\n"
         "\t\t           ^\n"
         "1 error, 1 warning\n"},
        {"condition operator",
         {edit("menu.scene", "if abierta", "if abierta and or veces")},
         "game/menu.scene:10:18: error: expected a flag or counter, found 'or'\n"
         "\t\tif abierta and or veces\n"
         "\t\t               ^\n"
         "game/menu.scene:14:8: warning: flag 'abierta' is set but never read\n"
         "\t\t\tset abierta\n"
         "\t\t\t    ^\n"
         "1 error, 1 warning\n"},
        {"indentation",
         {edit("menu.scene", "\thide Ana", "  hide Ana")},
         "game/menu.scene:6:3: error: this line is indented differently from the lines it belongs "
         "with (line 5)\n"
         "  hide Ana\n"
         "  ^\n"
         "1 error, 0 warnings\n"},
        {"object line",
         {edit("menu.scene", "at 10 20 picture main.png", "at 10 picture main.png")},
         "game/menu.scene:8:35: error: 'object' needs its place: object NAME at X Y picture FILE\n"
         "object Caja at 10 picture main.png\n"
         "                                  ^\n"
         "game/sala.scene: warning: no scene goes to scene 'sala' and the game does not start "
         "there: it can never be played\n"
         "1 error, 1 warning\n"},
        {"under a line",
         {edit("menu.scene", "\thide Ana", "\thide Ana\n\t\tHola")},
         "game/menu.scene:7:3: error: nothing may be indented under a line of dialogue or a "
         "command\n"
         "\t\tHola\n"
         "\t\t^\n"
         "1 error, 0 warnings\n"},
        {"set",
         {edit("menu.scene", "set abierta", "set abierta ya")},
         "game/menu.scene:10:6: error: flag 'abierta' is read but never set\n"
         "\t\tif abierta\n"
         "\t\t   ^\n"
         "game/menu.scene:14:8: error: write 'set FLAG' or 'set COUNTER = NUMBER'\n"
         "\t\t\tset abierta ya\n"
         "\t\t\t    ^\n"
         "2 errors, 0 warnings\n"},
    });
}

// Writes `entries` (name, bytes; a name ending in "@link" is stored as a
// Unix link to the bytes) into the archive `path`.
void writeZip(const std::string& path, const Files& entries) {
    zipFile zip = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
    ASSERT_NE(zip, nullptr);
    for (const auto& entry : entries) {
        std::string name = entry.first;
        zip_fileinfo info = {};
        const size_t link = name.find("@link");
        if (link != std::string::npos) {
            name = name.substr(0, link);
            info.external_fa = 0120777UL << 16;
        }
        ASSERT_EQ(zipOpenNewFileInZip4_64(zip, name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                                          Z_DEFLATED, 6, 0, -MAX_WBITS, DEF_MEM_LEVEL,
                                          Z_DEFAULT_STRATEGY, nullptr, 0, 3 << 8, 0, 0),
                  ZIP_OK);
        zipWriteInFileInZip(zip, entry.second.data(), static_cast<unsigned>(entry.second.size()));
        zipCloseFileInZip(zip);
    }
    zipClose(zip, nullptr);
}

// A PNG picture's first bytes, saying it is `width` x `height`, and its end.
std::string pngOfSize(unsigned width, unsigned height) {
    std::string b = "\x89PNG\r\n\x1a\n";
    b += std::string("\0\0\0\x0dIHDR", 8);
    for (unsigned v : {width, height}) {
        for (int shift = 24; shift >= 0; shift -= 8) {
            b += static_cast<char>((v >> shift) & 0xFF);
        }
    }
    b += std::string("\x08\x06\0\0\0\0\0\0\0", 9);
    return b + std::string("\0\0\0\0IEND\0\0\0\0", 12);
}

TEST(ScriptCheck, EveryOtherLineThatIsWrong) {
    const std::string game = goodGame()["game.kz"];
    const std::string menu = goodGame()["menu.scene"];
    checkTable({
        {"title twice",
         {{"game.kz", game + "title Otra\n"}},
         "game/game.kz:6:1: error: 'title' is given twice\n"
         "title Otra\n"
         "^\n"
         "1 error, 0 warnings\n"},
        {"title empty",
         {edit("game.kz", "title Prueba", "title")},
         "game/game.kz: error: the game file has no 'title' line (the window's title)\n"
         "game/game.kz:1:6: error: 'title' needs the game's title\n"
         "title\n"
         "     ^\n"
         "2 errors, 0 warnings\n"},
        {"start two names",
         {edit("game.kz", "start menu", "start menu sala")},
         "game/game.kz: error: the game file has no 'start' line (the first scene)\n"
         "game/game.kz:2:7: error: 'start' needs one name: the first scene\n"
         "start menu sala\n"
         "      ^\n"
         "2 errors, 0 warnings\n"},
        {"verbs twice",
         {{"game.kz", game + "verbs Mover\n"}},
         "game/game.kz:6:1: error: 'verbs' is given twice\n"
         "verbs Mover\n"
         "^\n"
         "1 error, 0 warnings\n"},
        {"verbs none",
         {edit("game.kz", "verbs Hablar Examinar", "verbs")},
         "game/game.kz: error: the game file has no 'verbs' line (the verb menu, in order)\n"
         "game/game.kz:3:6: error: 'verbs' needs the verbs of the menu, in order\n"
         "verbs\n"
         "     ^\n"
         "2 errors, 0 warnings\n"},
        {"five verbs",
         {edit("game.kz", "verbs Hablar Examinar", "verbs Hablar Examinar Recoger Mover Oler")},
         "game/game.kz:3:37: error: the verb menu has room for four verbs\n"
         "verbs Hablar Examinar Recoger Mover Oler\n"
         "                                    ^\n"
         "1 error, 0 warnings\n"},
        {"character alone",
         {edit("game.kz", "character Voz", "character")},
         "game/game.kz:5:10: error: write 'character NAME' or 'character NAME PICTURE'\n"
         "character\n"
         "         ^\n"
         "game/sala.scene:2:2: error: unknown speaker 'Voz' (to show this line as it is, begin it "
         "with 'say ')\n"
         "\tVoz: Fin\n"
         "\t^\n"
         "2 errors, 0 warnings\n"},
        {"under a setting",
         {edit("game.kz", "title Prueba", "title Prueba\n\tmás")},
         "game/game.kz:2:2: error: nothing may be indented under 'title'\n"
         "\tmás\n"
         "\t^\n"
         "1 error, 0 warnings\n"},
        {"save with words",
         {{"game.kz", "save now\n" + game}},
         "game/game.kz:1:6: error: 'save' takes nothing after it\nsave now\n     ^\n"
         "1 error, 0 warnings\n"},
        {"save twice",
         {{"game.kz", "save\nsave\n" + game}},
         "game/game.kz:2:1: error: 'save' is given twice\nsave\n^\n1 error, 0 warnings\n"},
        {"setting far from any",
         {{"game.kz", "zzz 1\n" + game}},
         "game/game.kz:1:1: error: unknown setting 'zzz' (the game file has title, start, font, "
         "verbs, character and save lines)\n"
         "zzz 1\n"
         "^\n"
         "1 error, 0 warnings\n"},
        {"portrait without picture",
         {edit("menu.scene", "portrait Ana", "portrait Ana\nportrait Voz")},
         "game/menu.scene:3:10: error: character 'Voz' has no picture to show as a portrait\n"
         "portrait Voz\n"
         "         ^\n"
         "1 error, 0 warnings\n"},
        {"portrait twice",
         {edit("menu.scene", "portrait Ana", "portrait Ana\nportrait Ana")},
         "game/menu.scene:3:10: error: duplicate portrait 'Ana' (first at line 2)\n"
         "portrait Ana\n"
         "         ^\n"
         "1 error, 0 warnings\n"},
        {"portrait alone",
         {edit("menu.scene", "portrait Ana", "portrait")},
         "game/menu.scene:2:9: error: 'portrait' needs one name: a character of the game\n"
         "portrait\n"
         "        ^\n"
         "game/menu.scene:6:7: error: 'Ana' has no portrait in scene 'menu': add the line "
         "'portrait Ana' to it\n"
         "\thide Ana\n"
         "\t     ^\n"
         "2 errors, 0 warnings\n"},
        {"two openings",
         {{"menu.scene", menu + "opening\n\tHola\n"}},
         "game/menu.scene:19:1: error: the scene has two openings\n"
         "opening\n"
         "^\n"
         "1 error, 0 warnings\n"},
        {"opening with words",
         {edit("menu.scene", "opening\n", "opening ya\n")},
         "game/menu.scene:4:9: error: nothing may follow 'opening' on its line\n"
         "opening ya\n"
         "        ^\n"
         "1 error, 0 warnings\n"},
        {"background twice",
         {edit("menu.scene", "background main.png", "background main.png\nbackground main.png")},
         "game/menu.scene:2:1: error: 'background' is given twice\n"
         "background main.png\n"
         "^\n"
         "1 error, 0 warnings\n"},
        {"background two files",
         {edit("menu.scene", "background main.png", "background main.png otra.png")},
         "game/menu.scene:1:21: error: 'background' needs one file name (no blanks in it)\n"
         "background main.png otra.png\n"
         "                    ^\n"
         "1 error, 0 warnings\n"},
        {"scene line far from any",
         {{"menu.scene", "zzzz\n" + menu}},
         "game/menu.scene:1:1: error: unknown line 'zzzz' in a scene (a scene has background, "
         "portrait, backdrop, opening, object, topic, document and button lines)\n"
         "zzzz\n"
         "^\n"
         "1 error, 0 warnings\n"},
        {"object without name",
         {edit("menu.scene", "object Caja at", "object at")},
         "game/menu.scene:8:8: error: 'object' needs a name before 'at'\n"
         "object at 10 20 picture main.png\n"
         "       ^\n"
         "game/sala.scene: warning: no scene goes to scene 'sala' and the game does not start "
         "there: it can never be played\n"
         "1 error, 1 warning\n"},
        {"object without picture",
         {edit("menu.scene", " picture main.png", "")},
         "game/menu.scene:8:21: error: 'object' needs its picture: ... at X Y picture FILE\n"
         "object Caja at 10 20\n"
         "                    ^\n"
         "game/sala.scene: warning: no scene goes to scene 'sala' and the game does not start "
         "there: it can never be played\n"
         "1 error, 1 warning\n"},
        {"object with more",
         {edit("menu.scene", "picture main.png\n", "picture main.png y más\n")},
         "game/menu.scene:8:39: error: unexpected 'y': only 'when CONDITION' may end this line\n"
         "object Caja at 10 20 picture main.png y más\n"
         "                                      ^\n"
         "game/sala.scene: warning: no scene goes to scene 'sala' and the game does not start "
         "there: it can never be played\n"
         "1 error, 1 warning\n"},
        {"picture without condition",
         {edit("menu.scene", "\tExaminar\n", "\tpicture otra.png\n\tExaminar\n")},
         "game/menu.scene:9:10: error: write 'picture FILE when CONDITION'\n"
         "\tpicture otra.png\n"
         "\t        ^\n"
         "1 error, 0 warnings\n"},
        {"verb with more",
         {edit("menu.scene", "\tExaminar\n", "\tExaminar ahora\n")},
         "game/menu.scene:9:11: error: a verb stands alone on its line, or is followed by 'when "
         "CONDITION'\n"
         "\tExaminar ahora\n"
         "\t         ^\n"
         "1 error, 0 warnings\n"},
        {"object without verbs",
         {{"menu.scene", menu + "object Vacía at 1 1 picture main.png\n"}},
         "game/menu.scene:19:8: warning: object 'Vacía' has no verbs: clicking it opens an empty "
         "menu\n"
         "object Vacía at 1 1 picture main.png\n"
         "       ^\n"
         "0 errors, 1 warning\n"},
        {"else with more",
         {edit("menu.scene", "\t\telse\n", "\t\telse ya\n")},
         "game/menu.scene:12:8: error: nothing may follow 'else' on its line\n"
         "\t\telse ya\n"
         "\t\t     ^\n"
         "1 error, 0 warnings\n"},
        {"afterwards alone",
         {edit("menu.scene", "\thide Ana\n", "\thide Ana\n\tafterwards\n\t\tHola\n")},
         "game/menu.scene:7:2: error: 'afterwards' must follow a 'first time' block at the same "
         "indentation\n"
         "\tafterwards\n"
         "\t^\n"
         "1 error, 0 warnings\n"},
        {"say alone",
         {edit("menu.scene", "\thide Ana\n", "\tsay\n")},
         "game/menu.scene:6:5: error: 'say' needs the line to say\n"
         "\tsay\n"
         "\t   ^\n"
         "1 error, 0 warnings\n"},
        {"hide two",
         {edit("menu.scene", "\thide Ana\n", "\thide Ana Voz\n")},
         "game/menu.scene:6:7: error: 'hide' needs one name: the portrait\n"
         "\thide Ana Voz\n"
         "\t     ^\n"
         "1 error, 0 warnings\n"},
        {"add without number",
         {edit("menu.scene", "add veces 1", "add veces uno")},
         "game/menu.scene:16:7: error: write 'add COUNTER NUMBER' (the number may be negative)\n"
         "\t\tadd veces uno\n"
         "\t\t    ^\n"
         "game/menu.scene:17:6: error: counter 'veces' is read but never set\n"
         "\t\tif veces > 2\n"
         "\t\t   ^\n"
         "2 errors, 0 warnings\n"},
        {"set to a word",
         {edit("menu.scene", "set abierta", "set abierta = sí")},
         "game/menu.scene:10:6: error: flag 'abierta' is read but never set\n"
         "\t\tif abierta\n"
         "\t\t   ^\n"
         "game/menu.scene:14:18: error: a whole number is needed after '='\n"
         "\t\t\tset abierta = sí\n"
         "\t\t\t              ^\n"
         "2 errors, 0 warnings\n"},
        {"set a strange name",
         {edit("menu.scene", "set abierta", "set a.b")},
         "game/menu.scene:10:6: error: flag 'abierta' is read but never set\n"
         "\t\tif abierta\n"
         "\t\t   ^\n"
         "game/menu.scene:14:8: error: 'a.b' is not a name for a flag or counter\n"
         "\t\t\tset a.b\n"
         "\t\t\t    ^\n"
         "2 errors, 0 warnings\n"},
        {"speaker without line",
         {edit("menu.scene", "Ana: Hola", "Ana:")},
         "game/menu.scene:5:6: error: the line of Ana is missing after ':'\n"
         "\tAna:\n"
         "\t    ^\n"
         "1 error, 0 warnings\n"},
        {"flag compared",
         {edit("menu.scene", "if veces > 2", "if abierta > 2")},
         "game/menu.scene:16:7: warning: counter 'veces' is set but never read\n"
         "\t\tadd veces 1\n"
         "\t\t    ^\n"
         "game/menu.scene:17:6: error: 'abierta' is a flag (set and unset), not a counter to "
         "compare with a number\n"
         "\t\tif abierta > 2\n"
         "\t\t   ^\n"
         "1 error, 1 warning\n"},
        {"parenthesis open",
         {edit("menu.scene", "if abierta", "if (abierta")},
         "game/menu.scene:10:14: error: a ')' is missing here\n"
         "\t\tif (abierta\n"
         "\t\t           ^\n"
         "game/menu.scene:14:8: warning: flag 'abierta' is set but never read\n"
         "\t\t\tset abierta\n"
         "\t\t\t    ^\n"
         "1 error, 1 warning\n"},
        {"parenthesis closed",
         {edit("menu.scene", "if abierta", "if abierta)")},
         "game/menu.scene:10:13: error: unexpected ')' in the condition\n"
         "\t\tif abierta)\n"
         "\t\t          ^\n"
         "game/menu.scene:14:8: warning: flag 'abierta' is set but never read\n"
         "\t\t\tset abierta\n"
         "\t\t\t    ^\n"
         "1 error, 1 warning\n"},
        {"not alone",
         {edit("menu.scene", "if abierta", "if not")},
         "game/menu.scene:10:9: error: the condition ends too soon\n"
         "\t\tif not\n"
         "\t\t      ^\n"
         "game/menu.scene:14:8: warning: flag 'abierta' is set but never read\n"
         "\t\t\tset abierta\n"
         "\t\t\t    ^\n"
         "1 error, 1 warning\n"},
        {"seen alone",
         {edit("menu.scene", "if abierta", "if seen")},
         "game/menu.scene:10:10: error: 'seen' needs the name of an object, topic or document\n"
         "\t\tif seen\n"
         "\t\t       ^\n"
         "game/menu.scene:14:8: warning: flag 'abierta' is set but never read\n"
         "\t\t\tset abierta\n"
         "\t\t\t    ^\n"
         "1 error, 1 warning\n"},
        {"exclamation",
         {edit("menu.scene", "if abierta", "if abierta ! 2")},
         "game/menu.scene:10:14: error: '!' is not a condition: write 'not'\n"
         "\t\tif abierta ! 2\n"
         "\t\t           ^\n"
         "game/menu.scene:14:8: warning: flag 'abierta' is set but never read\n"
         "\t\t\tset abierta\n"
         "\t\t\t    ^\n"
         "1 error, 1 warning\n"},
        {"condition too deep",
         {edit("menu.scene", "if abierta",
               "if " + std::string(20, '(') + "abierta" + std::string(20, ')'))},
         "game/menu.scene:10:23: error: the condition is nested too deeply\n"
         "\t\tif ((((((((((((((((((((abierta))))))))))))))))))))\n"
         "\t\t                    ^\n"
         "game/menu.scene:14:8: warning: flag 'abierta' is set but never read\n"
         "\t\t\tset abierta\n"
         "\t\t\t    ^\n"
         "1 error, 1 warning\n"},
        {"if alone",
         {edit("menu.scene", "if abierta", "if")},
         "game/menu.scene:10:5: error: a condition is missing here\n"
         "\t\tif\n"
         "\t\t  ^\n"
         "game/menu.scene:14:8: warning: flag 'abierta' is set but never read\n"
         "\t\t\tset abierta\n"
         "\t\t\t    ^\n"
         "1 error, 1 warning\n"},
        {"scene name",
         {{"mi sala.scene", "opening\n\tHola\n"}},
         "game/mi sala.scene: error: a scene file's name may hold only letters, digits, '_' and "
         "'-' before '.scene'\n"
         "game/mi sala.scene: warning: no scene goes to scene 'mi sala' and the game does not "
         "start there: it can never be played\n"
         "1 error, 1 warning\n"},
        {"scenes in other case",
         {{"Sala.scene", "opening\n\tHola\n"}},
         "game/Sala.scene: warning: no scene goes to scene 'Sala' and the game does not start "
         "there: it can never be played\n"
         "game/sala.scene: error: scenes 'Sala' and 'sala' differ only in letter case\n"
         "1 error, 1 warning\n"},
        {"picture too big",
         {{"res/ana.png", pngOfSize(20000, 10)}},
         "game/game.kz:4:15: error: picture 'ana.png' has a size the game cannot show (20000 x 10; "
         "at most 16384 x 16384)\n"
         "character Ana ana.png\n"
         "              ^\n"
         "1 error, 0 warnings\n"},
        {"font empty",
         {{"res/Vera.ttf", ""}},
         "game/game.kz: error: the game has no 'font' line, so it uses 'Vera.ttf', which is not a "
         "TrueType font (the file is empty)\n"
         "1 error, 0 warnings\n"},
        {"no scenes",
         {{"menu.scene", GONE}, {"sala.scene", GONE}},
         "game/game.kz: error: the game has no scene files (*.scene) beside its game file\n"
         "game/game.kz:2:7: error: unknown scene 'menu'\n"
         "start menu\n"
         "      ^\n"
         "2 errors, 0 warnings\n"},
    });
}

TEST(ScriptCheck, ZipEntriesAreHeldToTheSameRules) {
    GameFolder folder;
    Files game = goodGame();
    for (auto& file : game) {
        if (file.second[0] == '@') {
            file.second = fileBytes(file.second.substr(1));
        }
    }
    const std::vector<Case> cases = {
        {"a good game, at the root", game, ""},
        {"a good game, in one folder",
         [&] {
             Files inFolder;
             for (const auto& file : game) {
                 inFolder["prueba/" + file.first] = file.second;
             }
             return inFolder;
         }(),
         ""},
        {"..",
         {{"../fuera.txt", "x"}},
         "game.zip: error: the game cannot be read: the entry '../fuera.txt' is not a name inside "
         "the game's folder\n1 error, 0 warnings\n"},
        {"absolute",
         {{"/tmp/fuera.txt", "x"}},
         "game.zip: error: the game cannot be read: the entry '/tmp/fuera.txt' is not a name "
         "inside the game's folder\n1 error, 0 warnings\n"},
        {"too many entries",
         [] {
             Files many;
             for (int i = 0; i <= 4096; i++) {
                 many["f" + std::to_string(i)] = "x";
             }
             return many;
         }(),
         "game.zip: error: the game cannot be read: it holds more than 4096 entries\n1 error, 0 "
         "warnings\n"},
        {"too large unpacked",
         {{"res/grande.png", std::string(32 * 1024 * 1024 + 1, '\0')}},
         "game.zip: error: the game cannot be read: the entry 'res/grande.png' is too large "
         "unpacked\n1 error, 0 warnings\n"},
        {"link",
         {{"res@link", "/etc"}},
         "game.zip: error: the game cannot be read: the entry 'res' is a link, which a game may "
         "not hold\n1 error, 0 warnings\n"},
    };
    for (const Case& c : cases) {
        const std::string zip = folder.root + "/game.zip";
        std::remove(zip.c_str());
        writeZip(zip, c.changes);
        ASSERT_EQ(chdir(folder.root.c_str()), 0);
        ScriptLoad load("game.zip");
        EXPECT_EQ(load.report(), c.expected) << c.what;
        EXPECT_EQ(load.ok, c.expected.empty()) << c.what;
    }
    // Junk and a cut archive are refused the same way.
    std::ofstream(folder.root + "/game.zip", std::ios::binary) << fileBytes("res/opaque.png");
    EXPECT_EQ(ScriptLoad("game.zip").report(),
              "game.zip: error: the game cannot be read: it is not a .zip archive, or it is "
              "damaged\n1 error, 0 warnings\n");
    // Archives whose bytes were changed after they were written. Each has
    // the entries a.txt and b.txt; `at` finds a field in the first entry's
    // local header (from 0) or central one (from the central signature).
    auto central = [](std::string& b) { return b.find("PK\x01\x02"); };
    auto renameB = [](char first) {
        return [first](std::string& b) {
            for (size_t at; (at = b.find("b.txt")) != std::string::npos;) {
                b[at] = first;
            }
        };
    };
    const struct {
        const char* what;
        std::function<void(std::string&)> damage;
        std::string why;
    } damaged[] = {
        {"corrupt data", [](std::string& b) { b[30 + (b[26] & 0xFF) + (b[28] & 0xFF)] = '\xFF'; },
         "the entry 'a.txt' is damaged (the archive may be cut short)"},
        {"checksum",
         [&](std::string& b) {
             b[14] ^= 1;
             b[central(b) + 16] ^= 1;
         },
         "the entry 'a.txt' is damaged (its checksum does not match)"},
        {"headers that disagree", [&](std::string& b) { b[central(b) + 16] ^= 1; },
         "the entry 'a.txt' cannot be unpacked (damaged or encrypted)"},
        {"encrypted",
         [&](std::string& b) {
             b[6] |= 1;
             b[central(b) + 8] |= 1;
         },
         "the entry 'a.txt' cannot be unpacked (damaged or encrypted)"},
        {"given twice", renameB('a'), "the entry 'a.txt' cannot be unpacked (given twice?)"},
        {"more entries listed than held",
         [](std::string& b) {
             b[b.rfind("PK\x05\x06") + 8]++;
             b[b.rfind("PK\x05\x06") + 10]++;
         },
         "it is damaged (the archive may be cut short)"},
        {"a name not in UTF-8", renameB('\xE9'), "an entry's name cannot be read"},
    };
    for (const auto& d : damaged) {
        const std::string zip = folder.root + "/game.zip";
        std::remove(zip.c_str());
        writeZip(zip, {{"a.txt", "Hola"}, {"b.txt", "Adiós"}});
        std::string bytes = fileBytes(zip);
        d.damage(bytes);
        std::ofstream(zip, std::ios::binary) << bytes;
        EXPECT_EQ(ScriptLoad("game.zip").report(),
                  "game.zip: error: the game cannot be read: " + d.why + "\n1 error, 0 warnings\n")
            << d.what;
    }
    // A file where a folder must be made, and no private folder to unpack in.
    writeZip(folder.root + "/game.zip", {{"a", "x"}, {"a/b", "y"}});
    EXPECT_EQ(ScriptLoad("game.zip").report(),
              "game.zip: error: the game cannot be read: the entry 'a/b' cannot be unpacked\n1 "
              "error, 0 warnings\n");
    const char* tmp = std::getenv("TMPDIR");
    const std::string before = tmp != nullptr ? tmp : "";
    setenv("TMPDIR", (folder.root + "/gone").c_str(), 1);
    EXPECT_EQ(ScriptLoad("game.zip").report(),
              "game.zip: error: the game cannot be read: no private folder could be made to unpack "
              "it in\n1 error, 0 warnings\n");
    tmp != nullptr ? setenv("TMPDIR", before.c_str(), 1) : unsetenv("TMPDIR");
    // A name longer than any file's.
    writeZip(folder.root + "/long.zip", {{std::string(1100, 'n'), "x"}});
    EXPECT_EQ(ScriptLoad("long.zip").report(),
              "long.zip: error: the game cannot be read: an entry's name cannot be read\n1 error, "
              "0 warnings\n");
}

// The guide for writers teaches with games that work: the game it builds
// from nothing has no findings, the mistake it makes gets the findings it
// shows, and what it quotes of the demo is the demo as it is.
TEST(ScriptCheck, TheWritersGuideIsRight) {
    const std::string guide = fileBytes("docs/WRITING.md");
    Files tutorial = {
        {"res/Vera.ttf", FONT}, {"res/opaque.png", PNG}, {"res/pressbutton.png", PNG}};
    for (const char* picture : {"calle.png", "casa.png", "ana.png", "puerta.png"}) {
        tutorial[std::string("res/") + picture] = PNG;
    }
    int quoted = 0;
    std::string mistake;
    for (size_t at = guide.find("\n```"); at != std::string::npos; at = guide.find("\n```", at)) {
        const size_t start = guide.find('\n', at + 1) + 1;
        const size_t end = guide.find("\n```", start);
        const std::string kind = guide.substr(at + 4, start - at - 5);
        const std::string block = guide.substr(start, end - start + 1);
        at = end + 4;
        const std::string first = block.substr(0, block.find('\n'));
        const std::string body = block.substr(first.size() + 1);
        if (kind == "text" && first == "$ kz check mi-juego") {
            mistake = body;
        } else if (kind == "kz" && first.compare(0, 11, "# mi-juego/") == 0) {
            tutorial[first.substr(11)] = body;
        } else if (kind == "kz" && first.compare(0, 7, "# demo/") == 0) {
            EXPECT_NE(fileBytes("games/demo/" + first.substr(7)).find(body), std::string::npos)
                << "not as in games/demo: " << block;
            quoted++;
        }
    }
    EXPECT_GE(quoted, 5);
    GameFolder folder("mi-juego", tutorial);
    EXPECT_EQ(folder.check({}), "");
    std::string misspelt = tutorial["calle.scene"];
    misspelt.replace(misspelt.find("Ana: Por fin llegas"), 3, "Anna");
    EXPECT_EQ(folder.check({{"calle.scene", misspelt}}), mistake);
}

} // namespace
