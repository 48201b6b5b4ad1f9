#ifndef SCRIPTFINDING_H
#define SCRIPTFINDING_H

#include <string>

// One mistake (or doubtful thing) found in a game: where it is, how bad it is
// and what is wrong, in a writer's words. Printed the way compilers print
// theirs, so editors can jump to the place:
//
//   investigacion.scene:12:5: error: unknown speaker 'Oficil'; did you mean 'Oficial'?
//   Oficil: Buenos dias
//   ^
class ScriptFinding {
public:
    enum Severity { ERROR, WARNING };

    std::string file;     // relative to the game's folder, e.g. "game.kz"
    int line;             // 1-based; 0 when the finding is about the whole file
    int column;           // 1-based, counted in characters (a tab is one)
    Severity severity;    // errors keep the game from starting, warnings do not
    std::string words;    // what is wrong
    std::string lineText; // the line as written (without its line end), or empty

    ScriptFinding(std::string file, int line, int column, Severity severity, std::string words,
                  std::string lineText = "");

    // "file:line:column: error: words", then the line and a caret under the
    // column when the line is known. Ends with a newline.
    std::string format() const;

    // Findings are shown in file, line and column order.
    bool operator<(const ScriptFinding& other) const;
};

#endif
