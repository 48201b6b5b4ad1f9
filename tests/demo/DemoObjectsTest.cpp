#include "DemoContent.h"
#include "DemoFrames.h"
#include "DemoInvestigacion.h"
#include "DemoXarnBasurero.h"
#include "DemoXarnLagartija.h"
#include "DemoXarnPolicia.h"
#include "DemoXarnSilueta.h"
#include "KZ/Sprite.h"
#include "SCommandSay.h"
#include "XarnMenuOpciones.h"
#include "XarnTextClickable.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace demoframes;

namespace {

using democontent::Lines;

// The investigation scene after its opening conversation has played, so
// every object answers clicks.
struct Investigation : ::testing::Test {
    DemoInvestigacion* scene = nullptr;
    void SetUp() override {
        testsupport::openWindow();
        scene = new DemoInvestigacion();
        scene->showNotify();
        frame(*scene);
        for (int i = 0; i < 7; i++) {
            nextLine(*scene);
        }
        frame(*scene);
        ASSERT_EQ(scene->MODE_INTERACTIVE, scene->mode);
    }
    // The scene is never deleted in the game either; its entities go with the process.

    // The index-th of the four objects, in the order the scene added them.
    XarnSimpleInvestigableObject* object(int index) {
        int seen = 0;
        for (KZ_Invader* invader : scene->invaders) {
            auto* obj = dynamic_cast<XarnSimpleInvestigableObject*>(invader);
            if (obj != nullptr && seen++ == index) {
                return obj;
            }
        }
        return nullptr;
    }
    // The lines queued on the scene's script, oldest first; empties the script.
    Lines takeQueued() {
        Lines lines;
        for (auto it = scene->commandStack.commands.rbegin();
             it != scene->commandStack.commands.rend(); ++it) {
            auto* say = dynamic_cast<SCommandSay*>(*it);
            lines.push_back(say != nullptr && say->dialogBox == scene->dialogBox ? say->text : "?");
        }
        scene->commandStack.clear(nullptr);
        return lines;
    }
    // The verbs the object's menu shows, top to bottom, after a real click on it.
    std::vector<std::string> menuOf(XarnSimpleInvestigableObject* obj) {
        click(obj->getX() + obj->sprite->getWidth() / 2,
              obj->getY() + obj->sprite->getHeight() / 2);
        frame(*scene, 3);
        std::vector<std::string> verbs;
        for (XarnMenuOpciones::option* option : scene->optionsMenu->options) {
            verbs.push_back(option->text);
        }
        return verbs;
    }
};

} // namespace

// Name, place and picture of each object, and the verbs a real click on it
// offers: the outline never "Hablar", the policeman never "Recoger" or "Mover".
TEST_F(Investigation, ObjectsStandWhereTheyShouldAndOfferOnlyTheirVerbs) {
    const std::vector<democontent::Object>& objects = democontent::content().objects;
    ASSERT_EQ(4u, objects.size());
    for (int i = 0; i < 4; i++) {
        const democontent::Object& e = objects[i];
        XarnSimpleInvestigableObject* obj = object(i);
        ASSERT_NE(nullptr, obj);
        EXPECT_EQ(e.name, obj->name);
        EXPECT_EQ(e.x, obj->getX()) << e.name;
        EXPECT_EQ(e.y, obj->getY()) << e.name;
        ASSERT_NE(nullptr, obj->sprite);
        EXPECT_EQ(e.picture, obj->sprite->path);
        EXPECT_EQ(e.verbs, menuOf(obj)) << e.name;
        click(NEUTRAL_X, NEUTRAL_Y); // closes the menu
        frame(*scene, 2);
    }
}

// Hiding and showing the scene (as the menu swap does) rebuilds every
// object's picture from its own file, never the base class's default.
TEST_F(Investigation, ReloadingKeepsEachObjectsOwnPicture) {
    scene->hideNotify();
    for (int i = 0; i < 4; i++) {
        EXPECT_EQ(nullptr, object(i)->sprite);
    }
    scene->showNotify();
    for (int i = 0; i < 4; i++) {
        ASSERT_NE(nullptr, object(i)->sprite);
        EXPECT_EQ(democontent::content().objects.at(i).picture, object(i)->sprite->path);
    }
}

// The bin's knife, through real clicks on the bin and its menu: examining
// hints at it, picking up takes it (four lines), and from then on picking up
// and examining each give their one line.
TEST_F(Investigation, TheBinRemembersTheKnife) {
    auto* bin = dynamic_cast<DemoXarnBasurero*>(object(3));
    ASSERT_NE(nullptr, bin);
    auto choose = [&](const std::string& verb) {
        menuOf(bin);
        for (XarnMenuOpciones::option* option : scene->optionsMenu->options) {
            if (option->text == verb) {
                click(option->button->getX() + 10, option->button->getY() + 10);
            }
        }
        frame(*scene);
        return takeQueued();
    };

    const democontent::Object& expected = democontent::content().objects.at(3);
    ASSERT_FALSE(expected.afterKnife.empty());
    EXPECT_FALSE(bin->cuchilloCogido);
    EXPECT_EQ(expected.lines.at("Examinar"), choose("Examinar"));
    EXPECT_FALSE(bin->cuchilloCogido);
    EXPECT_EQ(expected.lines.at("Recoger"), choose("Recoger"));
    EXPECT_TRUE(bin->cuchilloCogido);
    EXPECT_EQ(expected.afterKnife.at("Recoger"), choose("Recoger"));
    EXPECT_EQ(expected.afterKnife.at("Examinar"), choose("Examinar"));
    EXPECT_TRUE(bin->cuchilloCogido);
}
