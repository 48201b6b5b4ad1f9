#include "GameHarness.h"
#include "KZ/FontRenderer.h"
#include "XarnTextClickable.h"

#include <gtest/gtest.h>

using namespace gameharness;

// The area starts at the caption's corner and reaches ten pixels past it to
// the right and below; it follows the button when it moves.
TEST(TextButton, AreaFollowsTheCaption) {
    testsupport::openWindow();
    InteractiveScenePlanet scene;
    Listener listener;
    XarnTextClickable* button = new XarnTextClickable("Empezar", &listener, &scene);
    button->setX(420);
    button->setY(390);
    scene.add(button);
    frame(scene);
    const int w = button->fontRenderer->getWidth(), h = button->fontRenderer->getHeight();
    EXPECT_EQ(w + 10, button->highlight->getWidth());
    EXPECT_EQ(h + 10, button->highlight->getHeight());

    click(418, 395); // on the highlight, left of the caption
    frame(scene);
    EXPECT_FALSE(button->isHover());
    EXPECT_TRUE(listener.heard.empty());
    click(420 + w + 7, 390 + h + 7);
    frame(scene);
    EXPECT_TRUE(button->isHover());
    EXPECT_EQ(1u, listener.heard.size());

    button->setX(100);
    click(105, 395);
    frame(scene);
    EXPECT_EQ(2u, listener.heard.size());
    EXPECT_EQ(100, button->hitBox.x);
}

// Loading again keeps the renderer and the highlight but renders the caption anew.
TEST(TextButton, ReloadingRendersTheCaptionAgain) {
    testsupport::openWindow();
    InteractiveScenePlanet scene;
    XarnTextClickable button("Examinar", nullptr, &scene);
    button.loadGraphics();
    KZ_FontRenderer* renderer = button.fontRenderer;
    KZ_Sprite* highlight = button.highlight;
    const int w = renderer->getWidth();
    renderer->bb.width = 1;
    button.loadGraphics();
    EXPECT_EQ(renderer, button.fontRenderer);
    EXPECT_EQ(highlight, button.highlight);
    EXPECT_EQ(w, renderer->getWidth());
    button.unloadGraphics();
    EXPECT_EQ(nullptr, button.fontRenderer);
    EXPECT_EQ(nullptr, button.highlight);
}
