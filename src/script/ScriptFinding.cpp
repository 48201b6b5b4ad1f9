#include "ScriptFinding.h"

#include <tuple>
#include <utility>

ScriptFinding::ScriptFinding(std::string file, int line, int column, Severity severity,
                             std::string words, std::string lineText)
    : file(std::move(file))
    , line(line)
    , column(column)
    , severity(severity)
    , words(std::move(words))
    , lineText(std::move(lineText)) {}

std::string ScriptFinding::format() const {
    std::string out = file;
    if (line > 0) {
        out += ":" + std::to_string(line) + ":" + std::to_string(column);
    }
    out += severity == ERROR ? ": error: " : ": warning: ";
    out += words + "\n";
    if (line > 0 && !lineText.empty()) {
        out += lineText + "\n";
        // The caret line copies the tabs before the column, so it lines up
        // under the fault whatever width the reader's terminal gives a tab.
        // Every other character, however many bytes it takes, is one blank.
        int characters = 0;
        for (size_t i = 0; i < lineText.size() && characters < column - 1; i++) {
            unsigned char c = static_cast<unsigned char>(lineText[i]);
            if ((c & 0xC0) == 0x80) {
                continue; // the rest of a character already counted
            }
            out += c == '\t' ? '\t' : ' ';
            characters++;
        }
        out += "^\n";
    }
    return out;
}

bool ScriptFinding::operator<(const ScriptFinding& other) const {
    return std::tie(file, line, column, words) <
           std::tie(other.file, other.line, other.column, other.words);
}
