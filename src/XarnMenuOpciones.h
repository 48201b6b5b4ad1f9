#ifndef XARNMENUOPCIONES_H
#define XARNMENUOPCIONES_H

#include "KZ/Invader2D.h"
#include "KZ/Observer.h"

#include <string>
#include <vector>

class InteractiveScenePlanet;
class KZ_Sprite;
class XarnInvestigableObject;
class XarnTextClickable;

// The verb menu: a column of text buttons opened beside an investigable
// object. The menu draws nothing itself; it creates one button per option,
// hands it to its scene, lays the column out every step and hands the chosen
// button's text to the option's object. Any left click closes it. Its x and y
// are the column's top-left corner and its z the depth of every button. A game
// may ask for a backdrop picture behind the open column (setBackdrop()), so
// that what lies under the menu does not show through between its words.
class XarnMenuOpciones : public KZ_Invader2D, public KZ_Observer {
public:
    // One button of the menu.
    class option {
    public:
        std::string text;                         // caption, and the verb handed to `object`
        XarnTextClickable* button = nullptr;      // the button; owned by the scene
        XarnInvestigableObject* object = nullptr; // receives the verb; not owned

        // An empty record; add() fills it.
        option();
    };

    InteractiveScenePlanet* scene; // passed on to every button; not owned
    std::vector<option*> options;  // in the order added; the records are owned
    bool hidden;                   // the menu is closed
    std::string backdropPath;      // the picture behind the open column; empty: none
    KZ_Sprite* backdrop;           // that picture; owned, null while unloaded or without one

    // Open, empty, at depth -700. The scene adds it to itself.
    XarnMenuOpciones(InteractiveScenePlanet* scene);
    // Hands every button back to the scene and deletes the records.
    ~XarnMenuOpciones() override;

    // Owns its option records through raw pointers: a copy would delete them
    // twice and hand the same buttons back to the scene twice.
    XarnMenuOpciones(const XarnMenuOpciones&) = delete;
    XarnMenuOpciones& operator=(const XarnMenuOpciones&) = delete;

    // Keeps the menu on the screen, lays out the buttons, closes on any left click.
    void step() override;
    // Draws the backdrop, if any, behind the open column of laid-out buttons.
    void draw(KZ_Graphics* g) override;
    // Loads the backdrop, if any.
    void loadGraphics() override;
    // Releases the backdrop.
    void unloadGraphics() override;

    // Shows `path`, stretched to the column of buttons, behind the open menu
    // from now on; an empty path takes the backdrop away.
    void setBackdrop(std::string path);

    // Hands every button back to the scene, forgets the options and reopens the menu.
    virtual void clear();
    // Appends an option offering `text` to `object` and gives its new button to the scene.
    virtual void add(std::string text, XarnInvestigableObject* object);
    // A button was clicked: hands its text to its object, then closes the menu.
    void notify(KZ_Subject* subject, void* data) override;
    // Closes the menu: its buttons are parked out of sight from the next step.
    virtual void hide();
    // Opens the menu with the column's top-left corner at (x, y), pulled onto the screen next step.
    virtual void unhide(int x, int y);
    // The nominal width used for placing and clamping: 100.
    virtual int getWidth();
    // The nominal height used for placing and clamping: 128.
    virtual int getHeight();

    // Takes away every option offered to `object` and hands their buttons back
    // to the scene; the other options stay. For an object leaving the scene,
    // which must never be handed a verb again.
    void forget(XarnInvestigableObject* object);
};

#endif
