#ifndef KZ_CLICKABLE_H
#define KZ_CLICKABLE_H

class KZ_BoundingBox;

// Mix-in for an area of the window that reacts to the left button: check(),
// called once per cycle from the entity's step(), hit-tests the pointer against
// the rectangle and calls clicked() when the left button went down inside it.
class KZ_Clickable {
public:
    KZ_BoundingBox* bb; // the area in window pixels; not owned; null: never hit
    bool hover;         // the pointer was inside at the last check()
    bool justClicked;   // the last check() saw a left press inside

    // No area, not hovered, not clicked.
    KZ_Clickable();

    // The per-cycle hit test (strict on all four edges).
    virtual void check();
    // Called by check() on a left press inside the area; does nothing here.
    virtual void clicked();
    // The pointer was inside at the last check().
    virtual bool isHover();
    // The last check() saw a left press inside.
    virtual bool wasClicked();
    // Sets the area (not owned).
    virtual void setBB(KZ_BoundingBox* bb);
    // The area.
    virtual KZ_BoundingBox* getBB();

protected:
    ~KZ_Clickable() = default;
};

#endif
