#include "ScriptSource.h"

#include <utility>

ScriptSource::ScriptSource(std::string name)
    : name(std::move(name)) {}

namespace {

// The length of the UTF-8 sequence starting at `s[i]`, or 0 when it is not
// one: overlong forms, surrogates, values past U+10FFFF and cut sequences
// are all refused, as a strict decoder would.
size_t sequenceLength(const std::string& s, size_t i) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) {
        return 1;
    }
    size_t length;
    unsigned int low = 0x80, high = 0xBF; // the allowed range of the second byte
    if (c >= 0xC2 && c <= 0xDF) {
        length = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
        length = 3;
        if (c == 0xE0)
            low = 0xA0;
        if (c == 0xED)
            high = 0x9F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        length = 4;
        if (c == 0xF0)
            low = 0x90;
        if (c == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (i + length > s.size()) {
        return 0;
    }
    for (size_t k = 1; k < length; k++) {
        const unsigned char next = static_cast<unsigned char>(s[i + k]);
        if (next < (k == 1 ? low : 0x80) || next > (k == 1 ? high : 0xBF)) {
            return 0;
        }
    }
    return length;
}

} // namespace

bool ScriptSource::isUtf8(const std::string& text) {
    for (size_t i = 0, length; i < text.size(); i += length) {
        if ((length = sequenceLength(text, i)) == 0) {
            return false;
        }
    }
    return true;
}

bool ScriptSource::load(const std::string& bytes, std::vector<ScriptFinding>& findings) {
    lines.clear();
    if (bytes.size() > MAX_BYTES) {
        findings.emplace_back(name, 0, 0, ScriptFinding::ERROR,
                              "the file is too large (" + std::to_string(bytes.size()) +
                                  " bytes; a script may have at most " + std::to_string(MAX_BYTES) +
                                  ")");
        return false;
    }
    size_t i = 0;
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        i = 3; // the byte-order mark some editors write first
    }
    std::string line;
    while (i < bytes.size()) {
        const char c = bytes[i];
        if (c == '\n' || c == '\r') {
            lines.push_back(line);
            line.clear();
            i += (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ? 2 : 1;
            continue;
        }
        const int number = static_cast<int>(lines.size()) + 1;
        const int column = characters(line, line.size()) + 1;
        const size_t length = sequenceLength(bytes, i);
        std::string fault;
        if (c == '\0') {
            fault = "a NUL byte: this is not a text file";
        } else if (length == 0) {
            fault = "bytes that are not UTF-8 text: save the file as UTF-8";
        } else if ((static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7F) {
            fault = "a control character: this is not a text file";
        } else if (line.size() + length > MAX_LINE) {
            fault = "the line is too long (a line may have at most " + std::to_string(MAX_LINE) +
                    " bytes)";
        }
        if (!fault.empty()) {
            lines.push_back(line);
            findings.push_back(at(number, column, ScriptFinding::ERROR, fault));
            return false;
        }
        line.append(bytes, i, length);
        i += length;
    }
    if (!line.empty()) {
        lines.push_back(line);
    }
    return true;
}

const std::string& ScriptSource::text(int line) const {
    static const std::string none;
    if (line < 1 || line > static_cast<int>(lines.size())) {
        return none;
    }
    return lines[line - 1];
}

ScriptFinding ScriptSource::at(int line, int column, ScriptFinding::Severity severity,
                               const std::string& words) const {
    return ScriptFinding(name, line, column, severity, words, text(line));
}

int ScriptSource::characters(const std::string& text, size_t bytes) {
    int count = 0;
    for (size_t i = 0; i < bytes && i < text.size(); i++) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            count++;
        }
    }
    return count;
}
