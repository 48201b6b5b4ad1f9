// Fuzz target for the save reader (ScriptSave::fromText): a save file is
// input from anyone who can write to the player's data folder. Whatever the
// input, it must not crash, hang or grow without bound; a save it accepts
// must write back to a text that reads as the same save; and keeping what
// fits in a game with no names must leave nothing but the first scene.

#include "ScriptSave.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    ScriptSaved save;
    std::string why;
    if (!ScriptSave::fromText(text, save, why)) {
        if (why.empty()) {
            std::fprintf(stderr, "save: refused without a reason\n");
            std::abort();
        }
        return 0;
    }
    ScriptSaved again;
    if (!ScriptSave::fromText(ScriptSave::toText(save), again, why) || !(again == save)) {
        std::fprintf(stderr, "save: written back, it reads otherwise (%s)\n", why.c_str());
        std::abort();
    }
    ScriptSaveNames none;
    none.firstScene = "start";
    std::FILE* quiet = std::freopen("/dev/null", "w", stdout);
    ScriptSave::keepWhatFits(save, none);
    if (quiet == nullptr || save.scene != "start" || !save.flags.empty() ||
        !save.counters.empty() || !save.seen.empty() || !save.script.empty()) {
        std::fprintf(stderr, "save: kept what does not fit\n");
        std::abort();
    }
    return 0;
}
