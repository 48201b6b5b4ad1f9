// Reading and checking script games (ScriptChecker::load, what kz does
// before it starts a game): the script demo's, and a generated one of 200
// scenes and 20,000 lines.

#include "ScriptChecker.h"
#include "ScriptZip.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>

namespace {

std::string bytesOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// A game of 200 scenes and 20,000 lines in all, written once into a
// temporary folder: each scene a background, a portrait, an opening, and
// objects whose verbs talk, keep flags and counters and go to the next scene.
std::string generatedGame() {
    // Removed when the benchmarks end.
    static struct Folder {
        std::string path;
        ~Folder() {
            if (!path.empty()) {
                ScriptZip::remove(path);
            }
        }
    } made;
    std::string& folder = made.path;
    if (!folder.empty()) {
        return folder;
    }
    char pattern[] = "/tmp/kz-bench-XXXXXX";
    folder = mkdtemp(pattern);
    mkdir((folder + "/res").c_str(), 0700);
    for (const char* file :
         {"Vera.ttf", "opaque.png", "pressbutton.png", "main.png", "policia.png"}) {
        std::ofstream(folder + "/res/" + file, std::ios::binary)
            << bytesOf(std::string("res/") + file);
    }
    const int scenes = 200, linesPerScene = 100;
    std::ofstream(folder + "/game.kz")
        << "title Grande\nstart s0\nverbs Hablar Examinar Recoger Mover\n"
           "character Ana main.png\n";
    for (int s = 0; s < scenes; s++) {
        std::ostringstream out;
        int lines = 0;
        auto line = [&](const std::string& text) {
            out << text << "\n";
            lines++;
        };
        line("background main.png");
        line("portrait Ana");
        line("opening");
        line("\tcenter Ana");
        line("\tAna: Bienvenido a la escena " + std::to_string(s));
        line("\thide Ana");
        for (int o = 0; lines < linesPerScene - 12; o++) {
            const std::string flag = "f" + std::to_string(s) + "_" + std::to_string(o);
            line("object Cosa" + std::to_string(o) + " at " + std::to_string(10 * o) +
                 " 100 picture policia.png");
            line("\tExaminar");
            line("\t\tif " + flag + " and veces > 1");
            line("\t\t\tYa lo has visto todo, dice la nota número " + std::to_string(o));
            line("\t\telse");
            line("\t\t\tUna cosa cualquiera, pero con una frase larga que describe su aspecto");
            line("\t\t\tset " + flag);
            line("\t\t\tadd veces 1");
            line("\tHablar");
            line("\t\tfirst time");
            line("\t\t\tAna: No creo que responda");
            line("\t\tafterwards");
            line("\t\t\tSilencio");
        }
        line("object Puerta at 500 100 picture policia.png");
        line("\tMover");
        line("\t\tgo s" + std::to_string((s + 1) % scenes));
        while (lines < linesPerScene) {
            line("# " + std::to_string(lines));
        }
        std::ofstream(folder + "/s" + std::to_string(s) + ".scene") << out.str();
    }
    return folder;
}

void scriptCheck(benchmark::State& state, bool generated) {
    const std::string folder = generated ? generatedGame() : SCRIPT_DEMO;
    for (auto _ : state) {
        ScriptFolder files(folder);
        ScriptGame game;
        std::vector<ScriptFinding> findings;
        if (!ScriptChecker::load(files, game, findings)) {
            state.SkipWithError("the game has errors");
        }
    }
}

} // namespace

BENCHMARK_CAPTURE(scriptCheck, demo, false)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(scriptCheck, generated_200_scenes_20000_lines, true)
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMillisecond);
