#ifndef KZ_BOUNDINGBOX_H
#define KZ_BOUNDINGBOX_H

// An axis-aligned integer rectangle in window pixels (origin top-left, y down).
// Sprites and text renderers keep their sizes in one; clickable areas are one.
// Plain data: other classes read and write the fields directly.
class KZ_BoundingBox {
public:
    int x; // left edge
    int y; // top edge
    int width;
    int height;

    // The box (0, 0, 1, 1).
    KZ_BoundingBox();
    KZ_BoundingBox(int x, int y, int width, int height);

    // True when the point lies strictly inside: points on any of the four
    // edges are outside, so a 1 x 1 box contains no integer point.
    bool contains(int px, int py);

    // Sizing rule shared by sprites and text renderers, which keep two boxes:
    // `quad`, the size drawn, and `shown`, the size callers see. The shown width
    // becomes `width` and the quad's width follows, keeping the (integer,
    // truncated) ratio between the two; with no shown size to form the ratio
    // from, both take the new width. A negative width mirrors the picture.
    static void resizeWidth(KZ_BoundingBox& quad, KZ_BoundingBox& shown, int width);
    // The same rule for heights.
    static void resizeHeight(KZ_BoundingBox& quad, KZ_BoundingBox& shown, int height);
};

#endif
