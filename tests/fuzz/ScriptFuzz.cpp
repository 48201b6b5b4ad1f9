// Fuzz target for the script reader and checker (ScriptParser, ScriptChecker
// and the text and picture rules under them): a whole game held in memory,
// read and checked as `kz check` does, and every finding formatted. Whatever
// the input, they must not crash, hang or grow without bound, and every
// finding must point into its file: a line that exists (or none) and a
// column within it.
//
// Input: up to five files separated by the line "===": the game file, two
// scenes (a.scene, b.scene), a picture (res/p.png) and the font (res/Vera.ttf).

#include "ScriptChecker.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const char* names[] = {"game.kz", "a.scene", "b.scene", "res/p.png", "res/Vera.ttf"};
    const std::string input(reinterpret_cast<const char*>(data), size);
    ScriptFolder folder;
    size_t start = 0;
    for (int part = 0; part < 5 && start <= input.size(); part++) {
        size_t end = input.find("\n===\n", start);
        if (end == std::string::npos) {
            end = input.size();
        }
        folder.add(names[part], input.substr(start, end - start));
        start = end + 5;
    }
    ScriptGame game;
    std::vector<ScriptFinding> findings;
    ScriptChecker::load(folder, game, findings);
    for (const ScriptFinding& f : findings) {
        const auto source = game.sources.find(f.file);
        const int lines =
            source == game.sources.end() ? 0 : static_cast<int>(source->second.lines.size());
        const int columns = f.line > 0 && f.line <= lines
                                ? ScriptSource::characters(f.lineText, f.lineText.size()) + 1
                                : 0;
        if (f.line < 0 || f.line > lines || (f.line > 0 && (f.column < 1 || f.column > columns)) ||
            f.format().empty()) {
            std::fprintf(stderr, "finding outside its file: %s", f.format().c_str());
            std::abort();
        }
    }
    return 0;
}
