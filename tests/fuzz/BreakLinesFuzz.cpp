// Fuzz target for the text renderer's line breaking (KZ_FontRenderer::breakLines,
// wrapHeight and layOut), with the font's measuring function replaced by one
// the input describes. Every input must give lines that:
//   - put every byte of the text back when joined with the blanks dropped at
//     the breaks, in order, with no line empty;
//   - each fit the width, unless the line is a single word;
//   - are as long as they can be: the next word would not have fitted;
//   - agree with the heights: (lines + 1) line skips, or the one-line height
//     for a negative width;
// and the breaker must measure only within the text, a bounded number of times.
// A broken rule prints what broke and aborts, which the fuzzer reports.
//
// Input: 12 bytes of font, then the text.
//   [0..1] width, little-endian, mapped to -100 .. 999
//   [2]    line skip, 0 .. 63
//   [3]    line height reported by the measure, 0 .. 63
//   [4..11] the widths of byte classes: a byte b is width[b % 8] pixels wide,
//          0 .. 31, except that the top bit of [4] adds an overhang (the last
//          byte of a measured run is 3 pixels wider), so widths are not simply
//          additive, as with a real font's kerning and italics.

#include "KZ/FontRenderer.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using Line = KZ_FontRenderer::Line;
using Size = KZ_FontRenderer::Size;

const std::size_t HEADER = 12;

// The measure an input describes, with prefix sums so that one measurement
// costs the same for any run.
struct Font {
    int width[8];
    bool overhang;
    int height;
    std::vector<long> prefix; // prefix[i]: width of the text's first i bytes
    const std::string* text;
    long calls = 0;

    Font(const std::uint8_t* header, const std::string& measured)
        : overhang((header[4] & 0x80) != 0)
        , height(header[3] % 64)
        , text(&measured) {
        for (int i = 0; i < 8; i++) {
            width[i] = header[4 + i] % 32;
        }
        prefix.assign(measured.size() + 1, 0);
        for (std::size_t i = 0; i < measured.size(); i++) {
            prefix[i + 1] = prefix[i] + byteWidth(measured[i]);
        }
    }

    int byteWidth(char c) const { return width[static_cast<unsigned char>(c) % 8]; }

    Size operator()(const std::string& measured, std::size_t start, std::size_t end) {
        calls++;
        if (&measured != text && measured != *text) {
            fail("measured a text other than the one being laid out", 0, 0);
        }
        if (start > end || end > measured.size()) {
            fail("measured outside the text", start, end);
        }
        long w = prefix[end] - prefix[start];
        if (overhang && end > start) {
            w += 3;
        }
        return Size{static_cast<int>(w), height};
    }

    [[noreturn]] static void fail(const char* what, std::size_t a, std::size_t b) {
        std::fprintf(stderr, "line breaking: %s (%zu, %zu)\n", what, a, b);
        std::abort();
    }
};

[[noreturn]] void fail(const char* what, const std::string& text, int width, std::size_t line) {
    std::fprintf(stderr, "line breaking: %s; line %zu, width %d, text of %zu bytes\n", what, line,
                 width, text.size());
    std::abort();
}

// The position of the next blank at or after `from`, or the text's length.
std::size_t nextBlank(const std::string& text, std::size_t from) {
    const std::size_t blank = text.find(' ', from);
    return blank == std::string::npos ? text.size() : blank;
}

void checkLines(const std::string& text, int limit, const std::vector<Line>& lines, Font& font) {
    if (text.empty() != lines.empty()) {
        fail("lines for no text, or no line for a text", text, limit, 0);
    }
    std::string joined;
    std::size_t expectedStart = 0;
    for (std::size_t k = 0; k < lines.size(); k++) {
        const Line& line = lines[k];
        if (line.start != expectedStart || line.end <= line.start || line.end > text.size()) {
            fail("a line does not follow the previous one, or is empty", text, limit, k);
        }
        joined.append(text, line.start, line.end - line.start);
        const bool last = k + 1 == lines.size();
        if (line.end < text.size()) {
            // The break: exactly one blank dropped.
            if (text[line.end] != ' ') {
                fail("a break that is not at a blank", text, limit, k);
            }
            joined.push_back(' ');
            if (last && line.end + 1 != text.size()) {
                fail("text left over after the last line", text, limit, k);
            }
        }
        expectedStart = line.end + 1;

        // One word: no blank after the line's first byte.
        const bool oneWord = text.find(' ', line.start + 1) >= line.end;
        const int w = font(text, line.start, line.end).width;
        if (w > limit && !oneWord) {
            fail("a line of several words wider than the width", text, limit, k);
        }
        // Greedy: a line that fits and is followed by more words was closed
        // because the next word would not have fitted. (Not checked for lines
        // closed by the per-line word limit, which these texts cannot reach.)
        if (w <= limit && !last) {
            const std::size_t next = nextBlank(text, line.end + 1);
            if (font(text, line.start, next).width <= limit) {
                fail("a line closed before the next word, which fits", text, limit, k);
            }
        }
    }
    if (joined != text) {
        fail("the lines and the dropped blanks do not give the text back", text, limit, 0);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < HEADER) {
        return 0;
    }
    const int width = static_cast<int>((data[0] | (data[1] << 8)) % 1100) - 100;
    const int skip = data[2] % 64;
    const std::string text(reinterpret_cast<const char*>(data + HEADER), size - HEADER);
    Font font(data, text);
    const KZ_FontRenderer::Measure measure = [&font](const std::string& t, std::size_t start,
                                                     std::size_t end) {
        return font(t, start, end);
    };

    // The breaker alone, at the caller's width. Each line costs one
    // measurement per blank it passes plus one to close it.
    font.calls = 0;
    const std::vector<Line> lines = KZ_FontRenderer::breakLines(text, width, measure);
    std::size_t spaces = 0;
    for (char c : text) {
        spaces += c == ' ' ? 1 : 0;
    }
    if (static_cast<std::size_t>(font.calls) > spaces + lines.size()) {
        fail("more measurements than blanks and lines", text, width, 0);
    }
    checkLines(text, width, lines, font);

    // The height.
    const int height = KZ_FontRenderer::wrapHeight(text, width, measure, skip);
    const int expected = width < 0 ? font.height : static_cast<int>(lines.size() + 1) * skip;
    if (height != expected) {
        fail("the height does not agree with the line count", text, width, lines.size());
    }

    // The layout the renderer draws: its own line width, the caller's height.
    const KZ_FontRenderer::Layout layout = KZ_FontRenderer::layOut(text, width, measure, skip);
    const int full = font(text, 0, text.size()).width;
    const int lineWidth = width > 0 && width < full ? width : full;
    if (layout.width != lineWidth || layout.height != height) {
        fail("the layout's size is not the text's", text, width, 0);
    }
    checkLines(text, layout.width, layout.lines, font);
    return 0;
}
