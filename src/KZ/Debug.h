#ifndef KZ_DEBUG_H
#define KZ_DEBUG_H

#include <string>

// The indented trace on standard output. Objects that trace own a `debug`
// switch and call these only while it is on; the sections they open and close
// nest, four blanks per level. A class of static members only.
class KZ_Debug {
public:
    static int indentation;             // current nesting level; starts at 1
    static bool debug;                  // master switch; false silences everything
    static std::string indentStepSpace; // written once per level: four blanks

    // Writes "<  text >" at the current level, then goes one level deeper.
    static void start(std::string text);
    // Writes `text` at the current level.
    static void log(std::string text);
    // Goes one level back, then writes "</ text >" there.
    static void end(std::string text);

private:
    static void indent();
};

#endif
