#ifndef ENGINE_RECORDER_H
#define ENGINE_RECORDER_H

#include "KZ/Displayable.h"
#include "KZ/Invader2D.h"

#include <functional>
#include <string>
#include <vector>

// Test doubles that write every call they receive into one shared journal, so
// a test can compare the exact order of calls across several objects.
namespace recorder {

inline std::vector<std::string>& journal() {
    static std::vector<std::string> entries;
    return entries;
}

inline void note(const std::string& name, const std::string& what) {
    journal().push_back(name + "." + what);
}

// A displayable that records its hooks; `onDisplay` runs inside display()
// with the number of the frame (1 for the first).
class Displayable : public KZ_Displayable {
public:
    std::string name;
    int frames = 0;
    std::function<void(int)> onDisplay;

    explicit Displayable(std::string name)
        : name(std::move(name)) {}

    void display(KZ_Graphics*) override {
        frames++;
        note(name, "display");
        if (onDisplay) {
            onDisplay(frames);
        }
    }
    void showNotify() override { note(name, "show"); }
    void hideNotify() override { note(name, "hide"); }
    void pushed() override { note(name, "pushed"); }
    void poped() override { note(name, "poped"); }
};

// An entity that records its hooks (and its deletion); `onStep`,
// `onCreated` and `onDestroyed` let a test act from inside the cycle.
class Entity : public KZ_Invader2D {
public:
    std::string name;
    std::function<void()> onStep;
    std::function<void()> onCreated;
    std::function<void()> onDestroyed;

    Entity(std::string name, int z)
        : name(std::move(name)) {
        this->z = z;
    }
    ~Entity() override { note(name, "deleted"); }

    void created() override {
        note(name, "created");
        if (onCreated) {
            onCreated();
        }
    }
    void destroyed() override {
        note(name, "destroyed");
        if (onDestroyed) {
            onDestroyed();
        }
    }
    void step() override {
        note(name, "step");
        if (onStep) {
            onStep();
        }
    }
    void draw(KZ_Graphics*) override { note(name, "draw"); }
    void loadGraphics() override { note(name, "load"); }
    void unloadGraphics() override { note(name, "unload"); }
    void reserved() override {
        KZ_Invader2D::reserved();
        note(name, "reserved");
    }
};

// The journal entries of one object, in order.
inline std::vector<std::string> of(const std::string& name) {
    std::vector<std::string> result;
    for (const std::string& entry : journal()) {
        if (entry.compare(0, name.size() + 1, name + ".") == 0) {
            result.push_back(entry);
        }
    }
    return result;
}

} // namespace recorder

#endif
