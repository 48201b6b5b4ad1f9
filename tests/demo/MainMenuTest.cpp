#include "MainMenu.h"
#include "BackGroundImage.h"
#include "DemoContent.h"
#include "DemoFrames.h"
#include "DemoInvestigacion.h"
#include "KZ/Space.h"
#include "XarnMainMenu.h"
#include "XarnTextClickable.h"

#include <gtest/gtest.h>

using namespace demoframes;

// The menu: its button ("Empezar" at (420, 390)) is its first entity, then the
// background, then the controller.
TEST(MainMenu, ButtonThenBackgroundThenController) {
    testsupport::openWindow();
    MainMenu menu;
    ASSERT_EQ(6u, menu.toCreate.size());
    auto* button = dynamic_cast<XarnTextClickable*>(menu.toCreate[3]);
    ASSERT_NE(nullptr, button);
    const democontent::Content& content = democontent::content();
    EXPECT_EQ(content.menuButton, button->text);
    EXPECT_EQ(content.menuX, button->getX());
    EXPECT_EQ(content.menuY, button->getY());
    auto* background = dynamic_cast<BackGroundImage*>(menu.toCreate[4]);
    ASSERT_NE(nullptr, background);
    EXPECT_EQ(content.background, background->imagePath);
    auto* controller = dynamic_cast<XarnMainMenu*>(menu.toCreate[5]);
    ASSERT_NE(nullptr, controller);
    EXPECT_EQ(button, controller->button);
}

// A real click on "Empezar" puts a new investigation scene in the menu's
// place on the display stack; a click beside it, or a notification from
// another subject, leaves the menu there.
TEST(MainMenu, EmpezarSwapsInTheInvestigation) {
    testsupport::openWindow();
    MainMenu* menu = new MainMenu();
    KZ_Space::displayStack.push(menu);
    menu->showNotify();
    frame(*menu, 2);
    XarnMainMenu* controller = nullptr;
    for (KZ_Invader* invader : menu->invaders) {
        if (auto* c = dynamic_cast<XarnMainMenu*>(invader)) {
            controller = c;
        }
    }
    ASSERT_NE(nullptr, controller);
    XarnTextClickable other("Otro", nullptr, menu);
    controller->notify(&other, nullptr);
    EXPECT_EQ(menu, KZ_Space::displayStack.getTop());

    click(415, 395); // left of the button's area
    frame(*menu, 2);
    EXPECT_EQ(menu, KZ_Space::displayStack.getTop());

    click(425, 395);
    frame(*menu);
    auto* scene = dynamic_cast<DemoInvestigacion*>(KZ_Space::displayStack.getTop());
    ASSERT_NE(nullptr, scene);
    EXPECT_TRUE(menu->invaders.size() == 6u); // the menu keeps its entities
    scene->showNotify();
    frame(*scene);
    EXPECT_EQ(scene->MODE_SCRIPT, scene->mode);
    EXPECT_EQ(democontent::content().opening.at(0).line, scene->dialogBox->text);
}
