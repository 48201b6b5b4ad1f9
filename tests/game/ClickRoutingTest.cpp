#include "GameHarness.h"
#include "KZ/FontRenderer.h"
#include "XarnCurrentSelected.h"
#include "XarnMenuOpciones.h"
#include "XarnTextClickable.h"

#include <gtest/gtest.h>
#include <type_traits>

using namespace gameharness;

// Overlapping clickables all report a press; only the nearest hears it, the
// earliest added among equals; a press on nothing reaches nobody.
TEST(ClickRouting, OnlyTheNearestReporterIsNotified) {
    testsupport::openWindow();
    InteractiveScenePlanet scene;
    Listener listener;
    Probe* back = new Probe(&listener, &scene, KZ_BoundingBox(100, 100, 100, 100), -700);
    Probe* first = new Probe(&listener, &scene, KZ_BoundingBox(120, 120, 100, 100), -800);
    Probe* second = new Probe(&listener, &scene, KZ_BoundingBox(140, 140, 100, 100), -800);
    Probe* mute = new Probe(nullptr, &scene, KZ_BoundingBox(400, 100, 50, 50), -900);
    EXPECT_TRUE(mute->observers.empty()); // nobody to call through
    for (Probe* probe : {back, first, second, mute}) {
        scene.add(probe);
    }
    frame(scene);
    EXPECT_EQ(scene.MODE_INTERACTIVE, scene.mode);
    EXPECT_TRUE(scene.dialogBox->hidden);

    click(150, 150);
    frame(scene);
    ASSERT_EQ(3u, scene.clickedObjects.size());
    EXPECT_EQ((std::vector<KZ_Subject*>{first}), listener.heard);

    // Built without an observer: reported, notified, and nobody is called through.
    click(420, 120);
    frame(scene);
    EXPECT_EQ(1u, scene.clickedObjects.size());

    click(600, 20);
    frame(scene);
    EXPECT_TRUE(scene.clickedObjects.empty());
    EXPECT_EQ(1u, listener.heard.size());
}

// The scene traces its update and each report only while its switch is on.
TEST(ClickRouting, TraceOnlyWhileDebugIsOn) {
    testsupport::openWindow();
    InteractiveScenePlanet scene;
    scene.add(new Probe(nullptr, &scene, KZ_BoundingBox(0, 0, 100, 100), 0));
    frame(scene);
    testsupport::captureStdout();
    click(50, 50);
    frame(scene);
    EXPECT_EQ("", testsupport::capturedStdout());

    scene.debug = true;
    click(50, 50);
    KZ_EventManager::poll();
    testsupport::captureStdout();
    scene.updateObjects();
    EXPECT_EQ("    <  InteractiveScenePlanet updateObjects >\n"
              "        <  KZ_2DPlanet updateObjects >\n"
              "            <  InteractiveScenePlanet addClickedObject >\n"
              "            </ InteractiveScenePlanet addClickedObject >\n"
              "        </ KZ_2DPlanet updateObjects >\n"
              "    </ InteractiveScenePlanet updateObjects >\n",
              testsupport::capturedStdout());
}

// A scene that can be deleted through its own type.
class OwnedScene final : public InteractiveScenePlanet {};

// Counts the menu's buttons deleted while `scene` is deleted.
static int buttonsFreedWith(OwnedScene* scene) {
    for (XarnMenuOpciones::option* entry : scene->optionsMenu->options) {
        entry->button->debug = true;
    }
    testsupport::captureStdout();
    delete scene;
    std::string out = testsupport::capturedStdout();
    int count = 0;
    for (size_t at = out.find("</ XarnTextClickable destructor"); at != std::string::npos;
         at = out.find("</ XarnTextClickable destructor", at + 1)) {
        count++;
    }
    return count;
}

// The scene frees its menu's buttons exactly once when it goes, whether they
// are live or still waiting to be created, and never its own entities twice.
TEST(ClickRouting, DestroyingTheSceneFreesTheMenuButtonsOnce) {
    testsupport::openWindow();
    for (int framesAfterClick : {0, 3}) {
        OwnedScene* scene = new OwnedScene();
        Thing* thing = new Thing(scene, "Cosa", 100, 100);
        scene->add(thing);
        frame(*scene);
        click(130, 130);
        frame(*scene, 1 + framesAfterClick);
        ASSERT_EQ(4u, scene->optionsMenu->options.size());
        EXPECT_EQ(4, buttonsFreedWith(scene)) << framesAfterClick;
        delete thing; // the planet deletes no live entity when it goes
    }
}

// Whatever owns textures, fonts or records by raw pointer would free them twice if copied.
template <class T>
constexpr bool uncopyable = !std::is_copy_constructible_v<T> && !std::is_copy_assignable_v<T>;
static_assert(uncopyable<KZ_Sprite> && uncopyable<KZ_FontRenderer> &&
              uncopyable<XarnTextClickable> && uncopyable<XarnMenuOpciones> &&
              uncopyable<XarnCurrentSelected>);
