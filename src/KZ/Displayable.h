#ifndef KZ_DISPLAYABLE_H
#define KZ_DISPLAYABLE_H

class KZ_Graphics;

// Anything that can stand on the display stack. Only the top of the stack is
// shown: the main loop tells it when it becomes or stops being the visible top
// and runs one frame of it per turn. Every hook does nothing here.
// Displayables are owned by whoever created them and are never deleted through
// this type, hence the protected, non-virtual destructor.
class KZ_Displayable {
public:
    // Runs one frame: update and draw. Called once per frame on the top of the stack.
    virtual void display(KZ_Graphics* g);
    // This displayable has become the visible top (called by the main loop).
    virtual void showNotify();
    // This displayable is no longer the visible top (called by the main loop).
    virtual void hideNotify();
    // This displayable has just been pushed on the stack.
    virtual void pushed();
    // This displayable has just been taken off the stack.
    virtual void poped();

protected:
    ~KZ_Displayable() = default;
};

#endif
