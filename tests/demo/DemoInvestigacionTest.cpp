#include "DemoInvestigacion.h"
#include "BackGroundImage.h"
#include "CharacterSprite.h"
#include "DemoContent.h"
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
    const democontent::Content& content = democontent::content();
    EXPECT_EQ(content.background, dynamic_cast<BackGroundImage*>(added[3])->imagePath);
    EXPECT_EQ(scene.personaje1, added[4]);
    EXPECT_EQ(scene.personaje2, added[5]);
    ASSERT_EQ(2u, content.portraits.size());
    EXPECT_EQ(content.portraits[0], scene.personaje1->imagePath);
    EXPECT_EQ(content.portraits[1], scene.personaje2->imagePath);
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
    // Both officers hidden; then each line, its speaker centred when the
    // speaker changes (the other one hidden first); the last one hidden.
    std::vector<std::string> expected = {"hide 1", "hide 2"};
    int speaking = 0;
    for (const democontent::OpeningLine& step : democontent::content().opening) {
        if (step.portrait != speaking) {
            if (speaking != 0) {
                expected.push_back("hide " + std::to_string(speaking));
            }
            speaking = step.portrait;
            expected.push_back("centre " + std::to_string(speaking));
        }
        expected.push_back("say " + step.line);
    }
    expected.push_back("hide " + std::to_string(speaking));
    ASSERT_EQ(15u, expected.size());
    EXPECT_EQ(expected, got);
}
