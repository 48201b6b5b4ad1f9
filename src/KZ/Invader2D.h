#ifndef KZ_INVADER2D_H
#define KZ_INVADER2D_H

#include "KZ/Invader.h"

// The concrete base of every entity: an integer position in window pixels
// (origin top-left, y down) and a depth (lower is nearer and drawn later).
// Every hook does nothing except reserved(), which remembers where the entity
// was at the start of the frame's update.
class KZ_Invader2D : public KZ_Invader {
public:
    int x;     // left, in window pixels
    int y;     // top, in window pixels
    int z;     // depth; also fixes the drawing order when the entity goes live
    int lastX; // x as it was at the last reserved()
    int lastY; // y as it was at the last reserved()
    int lastZ; // z as it was at the last reserved()

    // At (0, 0), depth 0.
    KZ_Invader2D();

    // Does nothing.
    void created() override;
    // Does nothing.
    void destroyed() override;
    // Does nothing.
    void step() override;
    // Does nothing.
    void draw(KZ_Graphics* g) override;
    // Does nothing.
    void loadGraphics() override;
    // Does nothing.
    void unloadGraphics() override;
    // Copies x, y and z into lastX, lastY and lastZ.
    void reserved() override;

    // The depth.
    virtual int getZ();
    // The top edge.
    virtual int getY();
    // The left edge.
    virtual int getX();
    // Sets the depth; the drawing order is not recomputed.
    virtual void setZ(int z);
    // Sets the top edge.
    virtual void setY(int y);
    // Sets the left edge.
    virtual void setX(int x);
};

#endif
