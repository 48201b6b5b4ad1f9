#include "DemoInvestigacion.h"
#include "BackGroundImage.h"
#include "CharacterSprite.h"
#include "DemoFrames.h"
#include "DemoXarnBasurero.h"
#include "DemoXarnLagartija.h"
#include "DemoXarnPolicia.h"
#include "DemoXarnSilueta.h"
#include "SCommandHide.h"
#include "SCommandMoveCenter.h"
#include "SCommandSay.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

// The scene's entities in the order they were added: the three the base
// scene makes, then the background, the officers and the four objects.
TEST(DemoInvestigacion, AddsBackgroundThenOfficersThenObjects) {
    testsupport::openWindow();
    DemoInvestigacion scene;
    const std::vector<KZ_Invader*>& added = scene.toCreate;
    ASSERT_EQ(10u, added.size());
    EXPECT_EQ(scene.dialogBox, added[0]);
    EXPECT_EQ("res/main.png", dynamic_cast<BackGroundImage*>(added[3])->imagePath);
    EXPECT_EQ(scene.personaje1, added[4]);
    EXPECT_EQ(scene.personaje2, added[5]);
    EXPECT_EQ("res/personaje1.png", scene.personaje1->imagePath);
    EXPECT_EQ("res/personaje2.png", scene.personaje2->imagePath);
    EXPECT_NE(nullptr, dynamic_cast<DemoXarnLagartija*>(added[6]));
    EXPECT_NE(nullptr, dynamic_cast<DemoXarnSilueta*>(added[7]));
    EXPECT_NE(nullptr, dynamic_cast<DemoXarnPolicia*>(added[8]));
    EXPECT_NE(nullptr, dynamic_cast<DemoXarnBasurero*>(added[9]));
}

// The opening script, oldest first: what each of its fifteen commands is and
// whom or what it acts on.
TEST(DemoInvestigacion, QueuesTheFifteenCommandsOfTheOpening) {
    testsupport::openWindow();
    DemoInvestigacion scene;
    CharacterSprite* p1 = scene.personaje1;
    CharacterSprite* p2 = scene.personaje2;
    std::vector<std::string> got;
    // The newest command is at the front: read from the back.
    for (auto it = scene.commandStack.commands.rbegin(); it != scene.commandStack.commands.rend();
         ++it) {
        if (auto* hide = dynamic_cast<SCommandHide*>(*it)) {
            got.push_back(std::string("hide ") + (hide->target == p1   ? "1"
                                                  : hide->target == p2 ? "2"
                                                                       : "?"));
        } else if (auto* centre = dynamic_cast<SCommandMoveCenter*>(*it)) {
            got.push_back(std::string("centre ") + (centre->character == p1   ? "1"
                                                    : centre->character == p2 ? "2"
                                                                              : "?"));
        } else if (auto* say = dynamic_cast<SCommandSay*>(*it)) {
            EXPECT_EQ(scene.dialogBox, say->dialogBox);
            got.push_back("say " + say->text);
        } else {
            got.push_back("?");
        }
    }
    const std::vector<std::string> expected = {
        "hide 1",
        "hide 2",
        "centre 1",
        "say Buenos dias comisario",
        "say Lamento haberlo hecho venir de improviso, pero este caso lo amerita",
        "say El cadaver ya fue retirado y enviado a la morgue",
        "say La causa de la muerte fue decapitamiento, el asesino le arranco brutalmente la cabeza",
        "hide 1",
        "centre 2",
        "say La cabeza de la victima sigue desaparecida",
        "say De igual manera, no hemos encontrado el arma homicida",
        "hide 2",
        "centre 1",
        "say Lo dejo para que investigue, no dude en preguntarme cualquier duda que tenga",
        "hide 1",
    };
    EXPECT_EQ(expected, got);
}
