#ifndef SCRIPTGAME_H
#define SCRIPTGAME_H

#include "ScriptSource.h"

#include <map>
#include <string>
#include <vector>

// A game as its files describe it, read by ScriptParser and checked by
// ScriptChecker: plain data, nothing loaded, nothing running. The player
// (ScriptPlayer) builds the framework's scenes and commands from it.
//
// Every element remembers where it was written (file, line, column), so the
// checker can point at it.
class ScriptGame {
public:
    // Where something was written.
    struct Place {
        std::string file; // e.g. "game.kz"
        int line = 0;
        int column = 0;
    };

    // A condition: a flag, a counter compared with a number, whether a thing
    // has been acted on, or not / and / or of other conditions.
    struct Condition {
        enum Kind { FLAG, COMPARE, SEEN, NOT, AND, OR };
        Kind kind = FLAG;
        std::string name;             // FLAG, COMPARE: the flag or counter; SEEN: the thing
        std::string op;               // COMPARE: = != < > <= >=
        int value = 0;                // COMPARE: the number
        std::vector<Condition> parts; // NOT: one; AND, OR: two or more
        Place place;                  // where `name` (or the operator word) stands
    };

    // One line of a script.
    struct Statement {
        enum Kind {
            SAY,  // a line of dialogue: `text`, by `speaker` (empty: no one)
            HIDE, // portraits: `name`
            CENTER,
            LEFT,
            RIGHT,
            FLIP,
            SET,        // flags: `name` on
            UNSET,      // `name` off
            ASSIGN,     // counters: `name` = `value`
            ADD,        // `name` += `value`
            IF,         // `condition`: `body`, else `otherwise`
            FIRST_TIME, // the first time `body`, afterwards `otherwise`
            GO,         // to the scene `name`
            END         // the game ends
        };
        Kind kind = SAY;
        Place place;      // where the statement starts
        Place namePlace;  // where `name` or `speaker` stands
        std::string text; // SAY: the line as it is shown
        std::string speaker;
        std::string name;
        int value = 0;
        Condition condition;
        std::vector<Statement> body;
        std::vector<Statement> otherwise;
        // FIRST_TIME: 1 for the script's first such block, 2 for the next...
        // (IF: how the parser took its else; of no use afterwards).
        int ordinal = 0;
    };

    // A script and the name it is known by in the game's state, stable
    // under edits elsewhere: "investigacion/opening", "investigacion/Basurero/Recoger".
    struct Script {
        std::string key;
        Place place;
        std::vector<Statement> body;
    };

    // A verb an object answers.
    struct Verb {
        std::string name;
        Place place;
        bool conditional = false; // shown only when `when` holds
        Condition when;
        Script script;
    };

    // A picture, as the script names it (relative to res/).
    struct Picture {
        std::string file;
        Place place;
        bool conditional = false; // used instead of the first picture while `when` holds
        Condition when;
    };

    // Something in a scene: an object with verbs, a topic (a line of text to
    // click), a document (a picture to click) or a button (a text to click,
    // as on a title screen).
    struct Thing {
        enum Kind { OBJECT, TOPIC, DOCUMENT, BUTTON };
        Kind kind = OBJECT;
        std::string name; // the object's label, the topic's or button's text, the document's name
        Place place;      // where the name stands
        int x = 0;
        int y = 0;
        std::vector<Picture> pictures; // objects and documents: the first, then conditional ones
        bool conditional = false;      // shown only while `when` holds
        Condition when;
        std::vector<Verb> verbs; // objects
        Script script;           // topics, documents, buttons: what a click plays
    };

    // A character: a name to speak lines under, and a portrait to show.
    struct Character {
        std::string name;
        Place place;
        Picture picture; // may be empty: a voice without a portrait
    };

    // A scene (one .scene file).
    struct Scene {
        std::string name; // the file's name without ".scene"
        std::string file;
        Picture background;                 // may be empty
        std::vector<std::string> portraits; // characters shown in this scene, in order
        std::vector<Place> portraitPlaces;
        Picture backdrop; // behind the verb menu; may be empty
        Script opening;   // played each time the scene is entered
        std::vector<Thing> things;
    };

    std::string title; // window title and "Starting ..." line
    std::string start; // the first scene
    Place startPlace;
    Picture font;                   // the TrueType font, relative to res/
    std::vector<std::string> verbs; // the verb menu, in order
    std::vector<Place> verbPlaces;
    std::vector<Character> characters;
    std::vector<Scene> scenes;                   // in file name order
    std::map<std::string, ScriptSource> sources; // every file read, by name
    bool gameFileRead = false;                   // game.kz was there and was text
    bool saves = false; // "save": the game saves by itself between clicks, and can be continued

    // The scene named `name`, or null.
    const Scene* scene(const std::string& name) const;
    // The character named `name`, or null.
    const Character* character(const std::string& name) const;
    // The font to draw with, relative to the game's folder: res/Vera.ttf
    // when the game file names none.
    std::string fontPath() const;
};

#endif
