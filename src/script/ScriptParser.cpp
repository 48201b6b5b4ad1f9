#include "ScriptParser.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdlib>

namespace {

using Severity = ScriptFinding::Severity;
using Statement = ScriptGame::Statement;
using Condition = ScriptGame::Condition;

// One non-blank, non-comment line and the lines indented under it.
struct Node {
    int line = 0;
    int indent = 0; // in columns, a tab reaching the next multiple of TAB_WIDTH
    int column = 1; // of the first character after the indentation
    std::string text;
    std::vector<Node> children;
    bool tooDeep = false; // lines under it were refused for their depth
};

// A word of a line, and where it starts in it.
struct Word {
    std::string text;
    size_t offset = 0; // bytes from the start of the node's text
};

std::vector<Word> words(const std::string& text) {
    std::vector<Word> out;
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) {
            i++;
        }
        if (i >= text.size()) {
            break;
        }
        size_t start = i;
        while (i < text.size() && text[i] != ' ' && text[i] != '\t') {
            i++;
        }
        out.push_back({text.substr(start, i - start), start});
    }
    return out;
}

// The text from byte `offset` on, without the blanks around it.
std::string rest(const std::string& text, size_t offset) {
    size_t start = std::min(offset, text.size());
    while (start < text.size() && (text[start] == ' ' || text[start] == '\t')) {
        start++;
    }
    size_t end = text.size();
    while (end > start && (text[end - 1] == ' ' || text[end - 1] == '\t')) {
        end--;
    }
    return text.substr(start, end - start);
}

bool parseNumber(const std::string& text, int& value) {
    if (text.empty() || text.size() > 10) {
        return false;
    }
    size_t i = (text[0] == '-' || text[0] == '+') ? 1 : 0;
    if (i == text.size()) {
        return false;
    }
    long long v = 0;
    for (; i < text.size(); i++) {
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) {
            return false;
        }
        v = v * 10 + (text[i] - '0');
    }
    if (text[0] == '-') {
        v = -v;
    }
    if (v > 1000000000LL || v < -1000000000LL) {
        return false;
    }
    value = static_cast<int>(v);
    return true;
}

// A name of a flag, counter, scene, character or portrait: letters (any
// alphabet), digits, '_' and '-'.
bool isName(const std::string& text) {
    if (text.empty()) {
        return false;
    }
    for (char c : text) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (!(u >= 0x80 || std::isalnum(u) || c == '_' || c == '-')) {
            return false;
        }
    }
    return true;
}

class Reader {
public:
    const ScriptSource& source;
    ScriptGame& game;
    std::vector<ScriptFinding>& findings;
    int firstTimes = 0; // "first time" blocks in the script being read

    Reader(const ScriptSource& source, ScriptGame& game, std::vector<ScriptFinding>& findings)
        : source(source)
        , game(game)
        , findings(findings) {}

    ScriptGame::Place place(const Node& node, size_t offset = 0) const {
        ScriptGame::Place p;
        p.file = source.name;
        p.line = node.line;
        p.column = node.column + ScriptSource::characters(node.text, offset);
        return p;
    }

    void error(const Node& node, size_t offset, const std::string& words) {
        findings.push_back(
            source.at(node.line, place(node, offset).column, ScriptFinding::ERROR, words));
    }

    void nothingUnder(const Node& node, const std::string& what) {
        if (!node.children.empty()) {
            const Node& child = node.children.front();
            error(child, 0, "nothing may be indented under " + what);
        }
    }

    // Builds the tree of lines from the indentation.
    std::vector<Node> tree() {
        std::vector<Node> roots;
        std::vector<Node*> open; // the line being filled at each depth
        for (size_t n = 0; n < source.lines.size(); n++) {
            const std::string& line = source.lines[n];
            int indent = 0;
            size_t i = 0;
            while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) {
                indent = line[i] == '\t'
                             ? (indent / ScriptSource::TAB_WIDTH + 1) * ScriptSource::TAB_WIDTH
                             : indent + 1;
                i++;
            }
            if (i == line.size() || line[i] == '#') {
                continue; // blank or a comment
            }
            Node node;
            node.line = static_cast<int>(n) + 1;
            node.indent = indent;
            node.column = static_cast<int>(i) + 1;
            node.text = rest(line, i);
            while (!open.empty() && open.back()->indent >= indent) {
                open.pop_back();
            }
            std::vector<Node>& siblings = open.empty() ? roots : open.back()->children;
            if (!siblings.empty() && siblings.front().indent != indent) {
                error(node, 0,
                      "this line is indented differently from the lines it belongs with "
                      "(line " +
                          std::to_string(siblings.front().line) + ")");
            }
            if (open.size() >= static_cast<size_t>(ScriptParser::MAX_DEPTH)) {
                // Said once for the line it starts at; the lines under it go with it.
                if (!open.back()->tooDeep) {
                    error(node, 0,
                          "nesting too deep (at most " + std::to_string(ScriptParser::MAX_DEPTH) +
                              " levels of indentation)");
                }
                open.back()->tooDeep = true;
                continue;
            }
            siblings.push_back(node);
            open.push_back(&siblings.back());
        }
        return roots;
    }

    // --- Conditions ---------------------------------------------------------

    struct Token {
        std::string text;
        size_t offset;
    };

    std::vector<Token> tokens;
    size_t at = 0;
    const Node* conditionNode = nullptr;
    size_t conditionEnd = 0;
    bool conditionFailed = false;

    void conditionError(size_t offset, const std::string& words) {
        if (!conditionFailed) {
            error(*conditionNode, offset, words);
        }
        conditionFailed = true;
    }

    bool parseCondition(const Node& node, size_t offset, Condition& out) {
        tokens.clear();
        at = 0;
        conditionNode = &node;
        conditionFailed = false;
        conditionEnd = node.text.size();
        const std::string& t = node.text;
        size_t i = offset;
        while (i < t.size()) {
            const char c = t[i];
            if (c == ' ' || c == '\t') {
                i++;
            } else if (c == '(' || c == ')') {
                tokens.push_back({std::string(1, c), i});
                i++;
            } else if (c == '=' || c == '!' || c == '<' || c == '>') {
                size_t start = i++;
                if (i < t.size() && t[i] == '=') {
                    i++;
                }
                tokens.push_back({t.substr(start, i - start), start});
            } else {
                size_t start = i;
                while (i < t.size() && t[i] != ' ' && t[i] != '\t' && t[i] != '(' && t[i] != ')' &&
                       t[i] != '=' && t[i] != '!' && t[i] != '<' && t[i] != '>') {
                    i++;
                }
                tokens.push_back({t.substr(start, i - start), start});
            }
        }
        if (tokens.empty()) {
            conditionError(t.size(), "a condition is missing here");
            return false;
        }
        orExpression(out, 0);
        if (!conditionFailed && at < tokens.size()) {
            conditionError(tokens[at].offset,
                           "unexpected '" + tokens[at].text + "' in the condition");
        }
        return !conditionFailed;
    }

    size_t here() const { return at < tokens.size() ? tokens[at].offset : conditionEnd; }
    bool next(const char* word) const { return at < tokens.size() && tokens[at].text == word; }

    void orExpression(Condition& out, int depth) {
        andExpression(out, depth);
        if (next("or")) {
            Condition any;
            any.kind = Condition::OR;
            any.place = place(*conditionNode, here());
            any.parts.push_back(out);
            while (!conditionFailed && next("or")) {
                at++;
                any.parts.emplace_back();
                andExpression(any.parts.back(), depth);
            }
            out = any;
        }
    }

    void andExpression(Condition& out, int depth) {
        unary(out, depth);
        if (next("and")) {
            Condition all;
            all.kind = Condition::AND;
            all.place = place(*conditionNode, here());
            all.parts.push_back(out);
            while (!conditionFailed && next("and")) {
                at++;
                all.parts.emplace_back();
                unary(all.parts.back(), depth);
            }
            out = all;
        }
    }

    void unary(Condition& out, int depth) {
        if (conditionFailed) {
            return;
        }
        if (depth > ScriptParser::MAX_DEPTH) {
            conditionError(here(), "the condition is nested too deeply");
            return;
        }
        if (at >= tokens.size()) {
            conditionError(here(), "the condition ends too soon");
            return;
        }
        out.place = place(*conditionNode, here());
        const std::string word = tokens[at].text;
        if (word == "not") {
            at++;
            out.kind = Condition::NOT;
            out.parts.emplace_back();
            unary(out.parts.back(), depth + 1);
            return;
        }
        if (word == "(") {
            at++;
            orExpression(out, depth + 1);
            if (!conditionFailed && !next(")")) {
                conditionError(here(), "a ')' is missing here");
            }
            at++;
            return;
        }
        if (word == "seen") {
            at++;
            out.kind = Condition::SEEN;
            out.place = place(*conditionNode, here());
            while (at < tokens.size() && tokens[at].text != "and" && tokens[at].text != "or" &&
                   tokens[at].text != ")") {
                out.name += (out.name.empty() ? "" : " ") + tokens[at].text;
                at++;
            }
            if (out.name.empty()) {
                conditionError(here(), "'seen' needs the name of an object, topic or document");
            }
            return;
        }
        if (!isName(word) || word == "and" || word == "or") {
            conditionError(tokens[at].offset, "expected a flag or counter, found '" + word + "'");
            return;
        }
        out.kind = Condition::FLAG;
        out.name = word;
        at++;
        if (at < tokens.size()) {
            std::string op = tokens[at].text;
            if (op == "==") {
                op = "=";
            }
            if (op == "=" || op == "!=" || op == "<" || op == ">" || op == "<=" || op == ">=") {
                at++;
                out.kind = Condition::COMPARE;
                out.op = op;
                if (at >= tokens.size() || !parseNumber(tokens[at].text, out.value)) {
                    conditionError(here(), "a whole number is needed after '" + op + "'");
                    return;
                }
                at++;
            } else if (op == "!") {
                conditionError(tokens[at].offset, "'!' is not a condition: write 'not'");
            }
        }
    }

    // --- Scripts ------------------------------------------------------------

    bool isKeyword(const std::string& text, const char* keyword, size_t& after) const {
        const size_t n = std::char_traits<char>::length(keyword);
        if (text.compare(0, n, keyword) == 0 &&
            (text.size() == n || text[n] == ' ' || text[n] == '\t')) {
            after = n;
            return true;
        }
        return false;
    }

    void block(const std::vector<Node>& nodes, std::vector<Statement>& out) {
        for (const Node& node : nodes) {
            statement(node, out);
        }
    }

    void needsBody(const Node& node, const std::string& what) {
        if (node.children.empty() && !node.tooDeep) {
            error(node, 0, "'" + what + "' has nothing indented under it");
        }
    }

    void statement(const Node& node, std::vector<Statement>& out) {
        const std::string& t = node.text;
        Statement s;
        s.place = place(node);
        size_t after = 0;
        const std::vector<Word> w = words(t);
        const std::string first = w[0].text;
        auto nameArgument = [&](const char* what) {
            if (w.size() != 2 || !isName(w[1].text)) {
                error(node, w.size() > 1 ? w[1].offset : t.size(),
                      std::string("'") + first + "' needs one name: the " + what);
                return false;
            }
            s.name = w[1].text;
            s.namePlace = place(node, w[1].offset);
            return true;
        };
        if (isKeyword(t, "if", after)) {
            s.kind = Statement::IF;
            needsBody(node, "if");
            if (!parseCondition(node, after, s.condition)) {
                // Kept, as a condition of nothing, so its else still has an if.
                s.condition = Condition();
                s.condition.kind = Condition::AND;
            }
            block(node.children, s.body);
            out.push_back(s);
            return;
        }
        if (isKeyword(t, "else", after)) {
            // An if's ordinal marks what became of its else: -1 taken by an
            // else block, -2 by an "else if", whose own if the else may follow.
            Statement* target = out.empty() ? nullptr : &out.back();
            while (target != nullptr && target->kind == Statement::IF && target->ordinal == -2) {
                target = &target->otherwise.back();
            }
            if (target == nullptr || target->kind != Statement::IF || target->ordinal != 0) {
                error(node, 0, "'else' must follow an 'if' block at the same indentation");
                return;
            }
            needsBody(node, "else");
            size_t ifAfter = 0;
            const std::string tail = rest(t, after);
            if (isKeyword(tail, "if", ifAfter)) {
                // "else if": an if inside the else.
                target->ordinal = -2;
                Node inner = node;
                inner.text = tail;
                inner.column = place(node, t.find(tail, after)).column;
                statement(inner, target->otherwise);
                return;
            }
            target->ordinal = -1;
            if (!tail.empty()) {
                error(node, t.find(tail, after), "nothing may follow 'else' on its line");
            }
            block(node.children, target->otherwise);
            return;
        }
        if (t == "first time") {
            s.kind = Statement::FIRST_TIME;
            s.ordinal = ++firstTimes;
            needsBody(node, "first time");
            block(node.children, s.body);
            out.push_back(s);
            return;
        }
        if (t == "afterwards") {
            if (out.empty() || out.back().kind != Statement::FIRST_TIME ||
                !out.back().otherwise.empty()) {
                error(node, 0,
                      "'afterwards' must follow a 'first time' block at the same indentation");
                return;
            }
            needsBody(node, "afterwards");
            block(node.children, out.back().otherwise);
            return;
        }
        nothingUnder(node, "a line of dialogue or a command");
        if (isKeyword(t, "say", after)) {
            s.text = rest(t, after);
            if (s.text.empty()) {
                error(node, t.size(), "'say' needs the line to say");
                return;
            }
        } else if (first == "hide" || first == "center" || first == "left" || first == "right" ||
                   first == "flip") {
            s.kind = first == "hide"     ? Statement::HIDE
                     : first == "center" ? Statement::CENTER
                     : first == "left"   ? Statement::LEFT
                     : first == "right"  ? Statement::RIGHT
                                         : Statement::FLIP;
            if (!nameArgument("portrait")) {
                return;
            }
        } else if (first == "set") {
            if (w.size() == 2) {
                s.kind = Statement::SET;
            } else if (w.size() == 4 && w[2].text == "=") {
                s.kind = Statement::ASSIGN;
                if (!parseNumber(w[3].text, s.value)) {
                    error(node, w[3].offset, "a whole number is needed after '='");
                    return;
                }
            } else {
                error(node, w.size() > 1 ? w[1].offset : t.size(),
                      "write 'set FLAG' or 'set COUNTER = NUMBER'");
                return;
            }
            if (!isName(w[1].text)) {
                error(node, w[1].offset, "'" + w[1].text + "' is not a name for a flag or counter");
                return;
            }
            s.name = w[1].text;
            s.namePlace = place(node, w[1].offset);
        } else if (first == "unset") {
            s.kind = Statement::UNSET;
            if (!nameArgument("flag")) {
                return;
            }
        } else if (first == "add") {
            s.kind = Statement::ADD;
            if (w.size() != 3 || !isName(w[1].text) || !parseNumber(w[2].text, s.value)) {
                error(node, w.size() > 1 ? w[1].offset : t.size(),
                      "write 'add COUNTER NUMBER' (the number may be negative)");
                return;
            }
            s.name = w[1].text;
            s.namePlace = place(node, w[1].offset);
        } else if (first == "go") {
            s.kind = Statement::GO;
            if (!nameArgument("scene")) {
                return;
            }
        } else if (t == "end") {
            s.kind = Statement::END;
        } else {
            // A line of dialogue: "Name: text" when the first word, right
            // before a colon, is a name; otherwise no one's.
            s.text = t;
            const size_t colon = w[0].text.find(':');
            if (colon != std::string::npos && colon > 0 && colon + 1 == w[0].text.size() &&
                isName(w[0].text.substr(0, colon))) {
                s.speaker = w[0].text.substr(0, colon);
                s.namePlace = place(node);
                s.text = rest(t, colon + 1);
                if (s.text.empty()) {
                    error(node, t.size(), "the line of " + s.speaker + " is missing after ':'");
                    return;
                }
            }
        }
        out.push_back(s);
    }

    void script(const Node& node, const std::string& key, ScriptGame::Script& out) {
        out.key = key;
        out.place = place(node);
        firstTimes = 0;
        block(node.children, out.body);
    }

    // --- Things -------------------------------------------------------------

    // Reads "NAME at X Y [picture FILE] [when CONDITION]" after the keyword.
    bool header(const Node& node, size_t after, bool withPicture, ScriptGame::Thing& thing) {
        const std::vector<Word> w = words(node.text);
        const std::string keyword = w[0].text;
        // The name runs up to the last "at" that two numbers follow.
        size_t atIndex = 0;
        for (size_t i = w.size(); i-- > 1;) {
            int dummy;
            if (w[i].text == "at" && i + 2 < w.size() && parseNumber(w[i + 1].text, dummy) &&
                parseNumber(w[i + 2].text, dummy)) {
                atIndex = i;
                break;
            }
        }
        if (atIndex == 0) {
            error(node, node.text.size(),
                  "'" + keyword + "' needs its place: " + keyword + " NAME at X Y" +
                      (withPicture ? " picture FILE" : ""));
            return false;
        }
        thing.name = rest(node.text.substr(0, w[atIndex].offset), after);
        thing.place = place(node, w[1].offset);
        if (atIndex == 1 || thing.name.empty()) {
            error(node, w[atIndex].offset, "'" + keyword + "' needs a name before 'at'");
            return false;
        }
        parseNumber(w[atIndex + 1].text, thing.x);
        parseNumber(w[atIndex + 2].text, thing.y);
        size_t i = atIndex + 3;
        if (withPicture) {
            if (i + 1 >= w.size() || w[i].text != "picture") {
                error(node, i < w.size() ? w[i].offset : node.text.size(),
                      "'" + keyword + "' needs its picture: ... at X Y picture FILE");
                return false;
            }
            ScriptGame::Picture picture;
            picture.file = w[i + 1].text;
            picture.place = place(node, w[i + 1].offset);
            thing.pictures.push_back(picture);
            i += 2;
        }
        if (i < w.size()) {
            if (w[i].text != "when") {
                error(node, w[i].offset,
                      "unexpected '" + w[i].text + "': only 'when CONDITION' may end this line");
                return false;
            }
            thing.conditional = true;
            return parseCondition(node, w[i].offset + 4, thing.when);
        }
        return true;
    }

    void thingLine(const Node& node, const std::string& scene, ScriptGame::Thing::Kind kind,
                   ScriptGame::Scene& out) {
        ScriptGame::Thing thing;
        thing.kind = kind;
        const size_t after = words(node.text)[0].text.size();
        const bool withPicture =
            kind == ScriptGame::Thing::OBJECT || kind == ScriptGame::Thing::DOCUMENT;
        if (!header(node, after, withPicture, thing)) {
            return;
        }
        if (kind != ScriptGame::Thing::OBJECT) {
            needsBody(node, words(node.text)[0].text);
            script(node, scene + "/" + thing.name, thing.script);
            out.things.push_back(thing);
            return;
        }
        for (const Node& child : node.children) {
            const std::vector<Word> w = words(child.text);
            if (w[0].text == "picture") {
                ScriptGame::Picture picture;
                if (w.size() < 4 || w[2].text != "when") {
                    error(child, w.size() > 1 ? w[1].offset : child.text.size(),
                          "write 'picture FILE when CONDITION'");
                    continue;
                }
                picture.file = w[1].text;
                picture.place = place(child, w[1].offset);
                picture.conditional = true;
                if (parseCondition(child, w[2].offset + 4, picture.when)) {
                    thing.pictures.push_back(picture);
                }
                nothingUnder(child, "a picture");
                continue;
            }
            ScriptGame::Verb verb;
            verb.name = w[0].text;
            verb.place = place(child);
            if (w.size() > 1) {
                if (w[1].text != "when") {
                    error(child, w[1].offset,
                          "a verb stands alone on its line, or is followed by 'when CONDITION'");
                    continue;
                }
                verb.conditional = true;
                if (!parseCondition(child, w[1].offset + 4, verb.when)) {
                    continue;
                }
            }
            needsBody(child, verb.name);
            script(child, scene + "/" + thing.name + "/" + verb.name, verb.script);
            thing.verbs.push_back(verb);
        }
        out.things.push_back(thing);
    }

    bool picture(const Node& node, size_t after, ScriptGame::Picture& out) {
        const std::vector<Word> w = words(node.text);
        if (w.size() != 2) {
            error(node, w.size() > 2 ? w[2].offset : node.text.size(),
                  "'" + w[0].text + "' needs one file name (no blanks in it)");
            return false;
        }
        out.file = w[1].text;
        out.place = place(node, after + 1);
        out.place.column = place(node, w[1].offset).column;
        return true;
    }

    // --- Files --------------------------------------------------------------

    void gameFile() {
        static const std::vector<std::string> settings = {"title", "start",     "font",
                                                          "verbs", "character", "save"};
        for (const Node& node : tree()) {
            const std::vector<Word> w = words(node.text);
            const std::string& key = w[0].text;
            nothingUnder(node, "'" + key + "'");
            if (std::find(settings.begin(), settings.end(), key) == settings.end()) {
                const std::string guess = ScriptParser::closest(key, settings);
                error(node, 0,
                      "unknown setting '" + key + "'" +
                          (guess.empty() ? " (the game file has title, start, font, verbs, "
                                           "character and save lines)"
                                         : "; did you mean '" + guess + "'?"));
                continue;
            }
            if (key == "save") {
                if (w.size() != 1) {
                    error(node, w[1].offset, "'save' takes nothing after it");
                } else if (game.saves) {
                    error(node, 0, "'save' is given twice");
                }
                game.saves = true;
                continue;
            }
            if (key != "character" && key != "verbs") {
                bool twice = key == "title"   ? !game.title.empty()
                             : key == "start" ? !game.start.empty()
                                              : !game.font.file.empty();
                if (twice) {
                    error(node, 0, "'" + key + "' is given twice");
                    continue;
                }
            }
            if (key == "title") {
                game.title = rest(node.text, w[0].text.size());
                if (game.title.empty()) {
                    error(node, node.text.size(), "'title' needs the game's title");
                }
            } else if (key == "start") {
                if (w.size() != 2 || !isName(w[1].text)) {
                    error(node, w.size() > 1 ? w[1].offset : node.text.size(),
                          "'start' needs one name: the first scene");
                    continue;
                }
                game.start = w[1].text;
                game.startPlace = place(node, w[1].offset);
            } else if (key == "font") {
                picture(node, 4, game.font);
            } else if (key == "verbs") {
                if (!game.verbs.empty()) {
                    error(node, 0, "'verbs' is given twice");
                    continue;
                }
                if (w.size() < 2) {
                    error(node, node.text.size(), "'verbs' needs the verbs of the menu, in order");
                }
                for (size_t i = 1; i < w.size(); i++) {
                    game.verbs.push_back(w[i].text);
                    game.verbPlaces.push_back(place(node, w[i].offset));
                }
            } else {
                ScriptGame::Character c;
                if (w.size() < 2 || w.size() > 3 || !isName(w[1].text)) {
                    error(node, w.size() > 1 ? w[1].offset : node.text.size(),
                          "write 'character NAME' or 'character NAME PICTURE'");
                    continue;
                }
                c.name = w[1].text;
                c.place = place(node, w[1].offset);
                if (w.size() == 3) {
                    c.picture.file = w[2].text;
                    c.picture.place = place(node, w[2].offset);
                }
                game.characters.push_back(c);
            }
        }
    }

    void sceneFile() {
        ScriptGame::Scene scene;
        scene.file = source.name;
        scene.name = source.name.substr(0, source.name.size() - 6); // without ".scene"
        scene.opening.key = scene.name + "/opening";
        static const std::vector<std::string> keywords = {"background", "portrait", "backdrop",
                                                          "opening",    "object",   "topic",
                                                          "document",   "button"};
        bool hasOpening = false;
        for (const Node& node : tree()) {
            const std::vector<Word> w = words(node.text);
            const std::string& key = w[0].text;
            if (key == "object") {
                thingLine(node, scene.name, ScriptGame::Thing::OBJECT, scene);
            } else if (key == "topic") {
                thingLine(node, scene.name, ScriptGame::Thing::TOPIC, scene);
            } else if (key == "document") {
                thingLine(node, scene.name, ScriptGame::Thing::DOCUMENT, scene);
            } else if (key == "button") {
                thingLine(node, scene.name, ScriptGame::Thing::BUTTON, scene);
            } else if (key == "opening") {
                if (hasOpening) {
                    error(node, 0, "the scene has two openings");
                    continue;
                }
                hasOpening = true;
                if (w.size() > 1) {
                    error(node, w[1].offset, "nothing may follow 'opening' on its line");
                }
                needsBody(node, "opening");
                script(node, scene.name + "/opening", scene.opening);
            } else if (key == "background" || key == "backdrop") {
                nothingUnder(node, "'" + key + "'");
                ScriptGame::Picture& target =
                    key == "background" ? scene.background : scene.backdrop;
                if (!target.file.empty()) {
                    error(node, 0, "'" + key + "' is given twice");
                    continue;
                }
                picture(node, key.size(), target);
            } else if (key == "portrait") {
                nothingUnder(node, "'portrait'");
                if (w.size() != 2 || !isName(w[1].text)) {
                    error(node, w.size() > 1 ? w[1].offset : node.text.size(),
                          "'portrait' needs one name: a character of the game");
                    continue;
                }
                scene.portraits.push_back(w[1].text);
                scene.portraitPlaces.push_back(place(node, w[1].offset));
            } else {
                const std::string guess = ScriptParser::closest(key, keywords);
                error(node, 0,
                      "unknown line '" + key + "' in a scene" +
                          (guess.empty() ? " (a scene has background, portrait, backdrop, "
                                           "opening, object, topic, document and button lines)"
                                         : "; did you mean '" + guess + "'?"));
            }
        }
        game.scenes.push_back(scene);
    }
};

} // namespace

void ScriptParser::parseSource(const ScriptSource& source, bool isGame, ScriptGame& game,
                               std::vector<ScriptFinding>& findings) {
    Reader reader(source, game, findings);
    if (isGame) {
        game.gameFileRead = true;
        reader.gameFile();
    } else {
        reader.sceneFile();
    }
}

void ScriptParser::parse(const ScriptFolder& folder, ScriptGame& game,
                         std::vector<ScriptFinding>& findings) {
    std::vector<std::string> files = {"game.kz"};
    std::vector<std::string> scenes = folder.list(".scene");
    if (scenes.size() > static_cast<size_t>(MAX_SCENES)) {
        findings.emplace_back("game.kz", 0, 0, ScriptFinding::ERROR,
                              "the game has " + std::to_string(scenes.size()) +
                                  " scene files; at most " + std::to_string(MAX_SCENES) +
                                  " are read");
        scenes.resize(MAX_SCENES);
    }
    files.insert(files.end(), scenes.begin(), scenes.end());
    // A scene file that cannot be read is known by its name all the same, so
    // going there is not a second mistake.
    auto known = [&game](const std::string& name) {
        if (name != "game.kz") {
            game.scenes.emplace_back();
            game.scenes.back().name = name.substr(0, name.size() - 6);
            game.scenes.back().file = name;
        }
    };
    for (const std::string& name : files) {
        ScriptSource& source = game.sources[name];
        source.name = name;
        std::string actual;
        const ScriptFolder::Lookup lookup = folder.find(name, &actual);
        if (lookup != ScriptFolder::FOUND) {
            known(name);
            findings.emplace_back(name, 0, 0, ScriptFinding::ERROR,
                                  name == "game.kz" && lookup == ScriptFolder::MISSING
                                      ? "there is no game file 'game.kz' in the game's folder"
                                      : "the file " + ScriptFolder::explain(lookup, actual));
            continue;
        }
        std::string bytes, why;
        if (!folder.read(name, ScriptSource::MAX_BYTES, bytes, why)) {
            known(name);
            findings.emplace_back(name, 0, 0, ScriptFinding::ERROR,
                                  "the file cannot be read: " + why);
            continue;
        }
        if (!source.load(bytes, findings)) {
            known(name);
            continue;
        }
        parseSource(source, name == "game.kz", game, findings);
    }
}

std::string ScriptParser::closest(const std::string& name,
                                  const std::vector<std::string>& candidates) {
    auto lower = [](std::string s) {
        for (char& c : s) {
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        return s;
    };
    const std::string a = lower(name);
    if (a.size() > 64) {
        return "";
    }
    std::string best;
    size_t bestDistance = a.size() / 4 + 1; // one slip in a short name, more in a long one
    for (const std::string& candidate : candidates) {
        const std::string b = lower(candidate);
        if (b.size() > 64 || candidate == name) {
            continue;
        }
        // Edit distance, one row at a time.
        std::vector<size_t> row(b.size() + 1);
        for (size_t j = 0; j <= b.size(); j++) {
            row[j] = j;
        }
        for (size_t i = 1; i <= a.size(); i++) {
            size_t diagonal = row[0];
            row[0] = i;
            for (size_t j = 1; j <= b.size(); j++) {
                const size_t above = row[j];
                row[j] = std::min(
                    {row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
                diagonal = above;
            }
        }
        if (row[b.size()] <= bestDistance && (best.empty() || row[b.size()] < bestDistance)) {
            best = candidate;
            bestDistance = row[b.size()];
        }
    }
    return best;
}
