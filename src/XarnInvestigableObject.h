#ifndef XARNINVESTIGABLEOBJECT_H
#define XARNINVESTIGABLEOBJECT_H

#include "KZ/Observer.h"
#include "XarnClickable.h"

#include <string>
#include <vector>

// A thing in an interactive scene the player can point at and act on: while
// hovered it names itself in the scene's selection label; when clicked (outside
// a script) it fills the scene's verb menu with its enabled verbs and opens it
// beside itself; the chosen verb comes back through action(). It observes its
// own clicks. Subclasses give it an area and a picture.
class XarnInvestigableObject : public XarnClickable, public KZ_Observer {
public:
    // One verb the object may offer.
    class option {
    public:
        std::string text;     // the verb: the button's caption and action()'s argument
        bool enabled = false; // offered in the menu
        int index = 0;        // position in `options`, 0 to 3

        // An empty record; the object's constructor fills it.
        option();
    };

    std::vector<option*> options; // hablar, examinar, recoger, mover, in that order
    std::string name;             // shown in the selection label while hovered
    option* hablar;               // "Hablar" (talk); owned
    option* examinar;             // "Examinar" (examine); owned
    option* recoger;              // "Recoger" (pick up); owned
    option* mover;                // "Mover" (move); owned

    // An object of `scene` offering all four verbs, at depth 0, with a placeholder name.
    XarnInvestigableObject(InteractiveScenePlanet* scene);
    // Deletes the four option records.
    ~XarnInvestigableObject() override;

    // The records are owned through raw pointers: a copy would delete them twice.
    XarnInvestigableObject(const XarnInvestigableObject&) = delete;
    XarnInvestigableObject& operator=(const XarnInvestigableObject&) = delete;

    // Hit-tests the pointer; names the object in the selection label while hovered.
    void step() override;
    // Leaving the scene: takes the object's verbs off the scene's menu, which
    // would otherwise hand the next chosen verb to a deleted object.
    void destroyed() override;

    // The object itself was clicked: outside a script, fills and opens the verb menu beside it.
    void notify(KZ_Subject* subject, void* data) override;
    // The player chose `verb` from the menu. Does nothing here; objects override it.
    virtual void action(std::string verb);

protected:
    // Queues `line` on the scene's script, shown in its dialog box after every
    // line already queued. How objects answer verbs.
    void say(const std::string& line);
};

#endif
