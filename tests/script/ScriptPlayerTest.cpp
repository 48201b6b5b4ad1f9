// The player walks a script in its turn: what comes after a line happens once
// the line has been clicked away, a condition looks at the state when its turn
// comes, and what a "when" shows follows the state at once. No window: the
// scene's commands are run by hand, a click stood in for by finishing the line.
#include "ScriptPlayer.h"
#include "ScriptObject.h"
#include "ScriptParser.h"
#include "ScriptScene.h"
#include "XarnMenuOpciones.h"

#include <gtest/gtest.h>

namespace {

class PlayerTest : public ::testing::Test {
protected:
    ScriptGame game;

    void read(const std::string& name, const std::string& text) {
        std::vector<ScriptFinding> findings;
        ScriptSource& source = game.sources[name];
        source.name = name;
        ASSERT_TRUE(source.load(text, findings));
        ScriptParser::parseSource(source, name == "game.kz", game, findings);
        ASSERT_TRUE(findings.empty()) << findings.front().format();
    }

    // The line the player clicks away, then the cycles until the next one shows.
    static void clickAway(ScriptScene* scene) {
        scene->dialogBox->done = true;
        scene->commandStack.execute();
        scene->commandStack.execute();
    }
};

TEST_F(PlayerTest, EffectsHappenInTheirTurnAndWhenFollowsTheState) {
    read("game.kz", "title T\nstart sala\nverbs Hablar Mirar\n");
    read("sala.scene", "opening\n\tHola\n\tset visto\n\tif visto\n\t\tSí\n\telse\n\t\tNo\n"
                       "object Caja at 10 20 picture caja.png when visto\n"
                       "\tHablar when not visto\n\t\tx\n\tMirar\n\t\tfirst time\n\t\t\tUna caja\n"
                       "\t\tafterwards\n\t\t\tLa misma caja\n");
    ScriptPlayer player(game);
    player.go("sala");
    ScriptScene* scene = player.current;
    ScriptObject* box = scene->objects.at(0);
    EXPECT_EQ(box->getX(), -10000); // not there until "visto"

    scene->commandStack.execute();
    EXPECT_EQ(scene->dialogBox->text, "Hola");
    EXPECT_TRUE(player.state.flags.empty()); // the set waits for the click
    clickAway(scene);
    EXPECT_EQ(scene->dialogBox->text, "Sí");
    EXPECT_EQ(player.state.flags.count("visto"), 1u);
    EXPECT_EQ(box->getX(), 10);
    EXPECT_EQ(player.state.script, "sala/opening");
    EXPECT_EQ(player.state.place, (std::vector<int>{3, 1}));
    clickAway(scene);
    EXPECT_TRUE(scene->commandStack.commands.empty());
    EXPECT_EQ(player.state.script, "");

    // Only the verbs whose conditions hold, in the game's order.
    scene->mode = scene->MODE_INTERACTIVE;
    box->notify(box, nullptr);
    ASSERT_EQ(scene->optionsMenu->options.size(), 1u);
    EXPECT_EQ(scene->optionsMenu->options[0]->text, "Mirar");
    for (const char* line : {"Una caja", "La misma caja", "La misma caja"}) {
        box->action("Mirar");
        scene->commandStack.execute();
        EXPECT_EQ(scene->dialogBox->text, line);
        clickAway(scene);
    }
    EXPECT_EQ(player.state.seen, (std::set<std::string>{"sala/Caja", "sala/Caja/Mirar#1"}));
}

} // namespace
