#ifndef SCRIPTSOURCE_H
#define SCRIPTSOURCE_H

#include "ScriptFinding.h"

#include <string>
#include <vector>

// One text file of a game (the game file or a scene), read as a writer's
// editor would save it: UTF-8 with or without a byte-order mark, lines ended
// by LF, CRLF or CR. A file from a stranger may be anything, so it is held to
// bounds and refused, with a finding, when it is not text: too large, a line
// too long, a NUL byte, a control character or bytes that are not UTF-8.
class ScriptSource {
public:
    static const size_t MAX_BYTES = 1024 * 1024; // a script larger than this is refused
    static const size_t MAX_LINE = 2000;         // bytes in one line, without its end
    static const int TAB_WIDTH = 4;              // a tab indents to the next multiple of 4

    std::string name;               // relative to the game's folder, e.g. "menu.scene"
    std::vector<std::string> lines; // the file's lines, without mark or line ends

    // An empty source named `name`.
    explicit ScriptSource(std::string name = "");

    // Splits `bytes` into lines. Returns false, with one finding in
    // `findings`, when the file is not text the game can read; the lines
    // read before the fault are kept so the finding can show its line.
    bool load(const std::string& bytes, std::vector<ScriptFinding>& findings);

    // The text of line `line` (1-based), or empty past the end.
    const std::string& text(int line) const;

    // A finding at `line`, `column` of this file, showing the line.
    ScriptFinding at(int line, int column, ScriptFinding::Severity severity,
                     const std::string& words) const;

    // The characters (not bytes) in the first `bytes` bytes of `text`.
    static int characters(const std::string& text, size_t bytes);

    // Whether `text` is UTF-8 throughout, as strictly as a script is read.
    static bool isUtf8(const std::string& text);
};

#endif
