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

using Lines = std::vector<std::string>;

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

struct Expected {
    const char* name;
    int x, y;
    const char* picture;
    std::vector<std::string> verbs;
};

const Expected OBJECTS[] = {
    {"Lagartija", 20, 290, "res/lagartija.png", {"Hablar", "Examinar", "Recoger", "Mover"}},
    {"Silueta", 380, 320, "res/silueta.png", {"Examinar", "Recoger", "Mover"}},
    {"Policia", 400, 80, "res/policia.png", {"Hablar", "Examinar"}},
    {"Basurero", 280, 190, "res/basurero2.png", {"Hablar", "Examinar", "Recoger", "Mover"}},
};

} // namespace

// Name, place and picture of each object, and the verbs a real click on it
// offers: the outline never "Hablar", the policeman never "Recoger" or "Mover".
TEST_F(Investigation, ObjectsStandWhereTheyShouldAndOfferOnlyTheirVerbs) {
    for (int i = 0; i < 4; i++) {
        const Expected& e = OBJECTS[i];
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
        EXPECT_EQ(OBJECTS[i].picture, object(i)->sprite->path);
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

    EXPECT_FALSE(bin->cuchilloCogido);
    EXPECT_EQ((Lines{"Quizas el asesino escondio algo en este lugar", "...",
                     "Hay algo extraño en el fondo"}),
              choose("Examinar"));
    EXPECT_FALSE(bin->cuchilloCogido);
    EXPECT_EQ((Lines{"No se si deba meter la mano ahi...", "Todo sea por la justicia!",
                     "Aca dentro hay un cuchillo", "Lo guardare como evidencia"}),
              choose("Recoger"));
    EXPECT_TRUE(bin->cuchilloCogido);
    EXPECT_EQ(Lines{"Ya he cogido el cuchillo"}, choose("Recoger"));
    EXPECT_EQ(Lines{"No parece haber nada mas"}, choose("Examinar"));
    EXPECT_TRUE(bin->cuchilloCogido);
}
