#ifndef KZ_INVADER_H
#define KZ_INVADER_H

class KZ_Graphics;
class KZ_Planet;

// An entity living in a scene (a planet). The planet drives it through its
// life with the seven hooks below: created, stepped and drawn every frame,
// graphics loaded while the scene is shown, destroyed and finally deleted by
// the planet through this type, hence the virtual destructor.
class KZ_Invader {
public:
    KZ_Planet* planet; // the planet it was added to; null until then
    bool debug;        // trace switch for the entity's own KZ_Debug lines; starts false

    // Not in any planet, trace off.
    KZ_Invader();
    virtual ~KZ_Invader();

    // Remembers the planet; called by the planet's add().
    void setPlanet(KZ_Planet* p);
    // The planet the entity belongs to, for adding further entities to it.
    KZ_Planet* getPlanet();

    // The entity has joined the live list (right after its first loadGraphics()).
    virtual void created() = 0;
    // The entity is leaving the scene (right before its last unloadGraphics()).
    virtual void destroyed() = 0;
    // Once per frame, after every live entity's reserved(): read input, move, react.
    virtual void step() = 0;
    // Once per frame in drawing order; `g` is always null, draw through OpenGL.
    virtual void draw(KZ_Graphics* g) = 0;
    // Create textures, sprites and rendered text: on creation and on each show.
    virtual void loadGraphics() = 0;
    // Release what loadGraphics() created: on each hide and on destruction.
    virtual void unloadGraphics() = 0;
    // Once per frame before any entity's step().
    virtual void reserved() = 0;
};

#endif
