// Entities and the 2D planet's cycle, driven directly with recording entities.
#include "KZ/2DPlanet.h"
#include "KZ/Debug.h"
#include "Recorder.h"
#include "TestSupport.h"

#include <algorithm>
#include <gtest/gtest.h>

using recorder::Entity;
using recorder::journal;
using Strings = std::vector<std::string>;

namespace {

class PlanetTest : public ::testing::Test {
protected:
    KZ_2DPlanet planet;

    void SetUp() override {
        journal().clear();
        planet.debug = false; // the trace has its own tests
        KZ_Debug::indentation = 1;
        KZ_Debug::debug = true;
    }

    // One frame of the planet, as the main loop runs it.
    void frame() { planet.display(nullptr); }

    Strings order(const std::vector<KZ_Invader*>& list) {
        Strings names;
        for (KZ_Invader* invader : list) {
            names.push_back(static_cast<Entity*>(invader)->name);
        }
        return names;
    }
};

TEST(Invader2D, StartsAtTheOriginAndRemembersItsPositionAtReserved) {
    Entity e("e", 0);
    EXPECT_EQ(0, e.getX());
    EXPECT_EQ(0, e.getY());
    EXPECT_EQ(0, e.getZ());
    EXPECT_FALSE(e.debug);
    EXPECT_EQ(nullptr, e.getPlanet());

    e.setX(5);
    e.setY(7);
    e.setZ(-3);
    EXPECT_EQ(5, e.getX());
    EXPECT_EQ(7, e.getY());
    EXPECT_EQ(-3, e.getZ());
    EXPECT_EQ(0, e.lastX);
    e.reserved();
    EXPECT_EQ(5, e.lastX);
    EXPECT_EQ(7, e.lastY);
    EXPECT_EQ(-3, e.lastZ);
}

TEST_F(PlanetTest, EntitiesAreCreatedInOrderOfAddingAndDrawnBackToFront) {
    Entity* first = new Entity("first", 0);
    Entity* second = new Entity("second", 5);
    Entity* third = new Entity("third", 5);
    Entity* fourth = new Entity("fourth", -700);
    for (Entity* e : {first, second, third, fourth}) {
        planet.add(e);
        EXPECT_EQ(&planet, e->getPlanet());
    }
    EXPECT_EQ(4u, planet.toCreate.size());
    EXPECT_TRUE(journal().empty()); // nothing happens before the next cycle

    frame();
    EXPECT_TRUE(planet.toCreate.empty());
    EXPECT_EQ((Strings{"second", "third", "first", "fourth"}), order(planet.invaders));
    EXPECT_EQ((Strings{"first.load", "first.created", "second.load", "second.created", "third.load",
                       "third.created", "fourth.load", "fourth.created",
                       // every reserved() before any step()
                       "second.reserved", "third.reserved", "first.reserved", "fourth.reserved",
                       "second.step", "third.step", "first.step", "fourth.step", "second.draw",
                       "third.draw", "first.draw", "fourth.draw"}),
              journal());

    // A later depth change does not move a live entity in the drawing order.
    first->setZ(-1000);
    journal().clear();
    frame();
    EXPECT_EQ((Strings{"second", "third", "first", "fourth"}), order(planet.invaders));
    Strings draws;
    for (const std::string& entry : journal()) {
        if (entry.find(".draw") != std::string::npos) {
            draws.push_back(entry);
        }
    }
    EXPECT_EQ((Strings{"second.draw", "third.draw", "first.draw", "fourth.draw"}), draws);
    EXPECT_EQ(-1000, first->lastZ);
}

TEST_F(PlanetTest, AnEntityAddedDuringAStepGoesLiveInTheNextFrame) {
    Entity* a = new Entity("a", 0);
    Entity* late = new Entity("late", 10);
    a->onStep = [&] {
        if (!late->getPlanet()) {
            planet.add(late);
        }
    };
    planet.add(a);
    frame();
    EXPECT_EQ((Strings{}), recorder::of("late"));
    EXPECT_EQ((Strings{"a"}), order(planet.invaders));

    journal().clear();
    frame();
    EXPECT_EQ((Strings{"late.load", "late.created", "late.reserved", "a.reserved", "late.step",
                       "a.step", "late.draw", "a.draw"}),
              journal());
}

TEST_F(PlanetTest, AnEntityRemovedDuringAStepIsDrawnOnceMoreThenDestroyedAndDeleted) {
    Entity* a = new Entity("a", 0);
    Entity* doomed = new Entity("doomed", 1);
    planet.add(a);
    planet.add(doomed);
    frame();
    a->onStep = [&] { planet.remove(doomed); };
    journal().clear();
    frame();
    EXPECT_EQ((Strings{"doomed.reserved", "a.reserved", "doomed.step", "a.step", "doomed.draw",
                       "a.draw", "doomed.destroyed", "doomed.unload", "doomed.deleted"}),
              journal());
    EXPECT_EQ((Strings{"a"}), order(planet.invaders));
    EXPECT_TRUE(planet.toDestroy.empty());
}

TEST_F(PlanetTest, EntitiesAddedOrRemovedFromTheLifecycleHooksAreHandledInTheSamePhase) {
    Entity* parent = new Entity("parent", 0);
    Entity* child = new Entity("child", 0);
    Entity* sibling = new Entity("sibling", 0);
    parent->onCreated = [&] { planet.add(child); };
    planet.add(parent);
    planet.add(sibling);
    frame();
    // The child is created in the same phase, after the entities added before it.
    EXPECT_EQ((Strings{"parent.load", "parent.created", "sibling.load", "sibling.created",
                       "child.load", "child.created"}),
              Strings(journal().begin(), journal().begin() + 6));
    EXPECT_EQ((Strings{"parent", "sibling", "child"}), order(planet.invaders));

    parent->onDestroyed = [&] { planet.remove(child); };
    planet.remove(parent);
    journal().clear();
    frame();
    EXPECT_EQ((Strings{"parent.destroyed", "parent.unload", "parent.deleted", "child.destroyed",
                       "child.unload", "child.deleted"}),
              Strings(journal().end() - 6, journal().end()));
    EXPECT_EQ((Strings{"sibling"}), order(planet.invaders));
}

TEST_F(PlanetTest, AnEntityRemovedBeforeItWasCreatedIsOnlyDeleted) {
    Entity* a = new Entity("a", 0);
    Entity* fleeting = new Entity("fleeting", 0);
    a->onStep = [&] {
        planet.add(fleeting);
        planet.remove(fleeting);
        a->onStep = nullptr;
    };
    planet.add(a);
    frame();
    // Never loaded, never created: it neither hears destroyed() nor unloads,
    // and it leaves the waiting list so no later frame touches it.
    EXPECT_EQ((Strings{"fleeting.deleted"}), recorder::of("fleeting"));
    EXPECT_TRUE(planet.toCreate.empty());
    EXPECT_TRUE(planet.toDestroy.empty());

    journal().clear();
    frame();
    EXPECT_EQ((Strings{"a.reserved", "a.step", "a.draw"}), journal());
    EXPECT_EQ((Strings{"a"}), order(planet.invaders));
}

TEST_F(PlanetTest, AnEntityAddedAndRemovedBetweenFramesLivesThroughOneWholeCycle) {
    // Outside a cycle the creation phase comes first: the entity is created,
    // stepped and drawn once before the same cycle destroys it.
    Entity* e = new Entity("e", 0);
    planet.add(e);
    planet.remove(e);
    frame();
    frame();
    EXPECT_EQ((Strings{"e.load", "e.created", "e.reserved", "e.step", "e.draw", "e.destroyed",
                       "e.unload", "e.deleted"}),
              journal());
}

TEST_F(PlanetTest, RemovingAnEntityThatIsNotLiveStillDestroysAndDeletesIt) {
    planet.debug = true;
    Entity* stranger = new Entity("stranger", 0);
    planet.remove(stranger);
    testsupport::captureStdout();
    planet.destroyObjects();
    std::string out = testsupport::capturedStdout();
    EXPECT_EQ((Strings{"stranger.destroyed", "stranger.unload", "stranger.deleted"}), journal());
    EXPECT_EQ(std::string::npos, out.find("found"));
}

TEST_F(PlanetTest, HidingAndShowingReloadTheLiveEntitiesOnly) {
    Entity* a = new Entity("a", 0);
    Entity* b = new Entity("b", 3);
    planet.add(a);
    planet.add(b);
    frame();
    Entity* waiting = new Entity("waiting", 0);
    planet.add(waiting);
    journal().clear();

    planet.hideNotify();
    planet.showNotify();
    EXPECT_EQ((Strings{"b.unload", "a.unload", "b.load", "a.load"}), journal());
    // No created()/destroyed(): hiding is not leaving the scene.
    journal().clear();
    frame();
    EXPECT_EQ((Strings{"waiting.load", "waiting.created"}),
              Strings(journal().begin(), journal().begin() + 2));
    EXPECT_EQ(0, std::count(journal().begin(), journal().end(), "a.created"));
}

TEST_F(PlanetTest, DestroyingAPlanetDeletesNoneOfItsEntities) {
    Entity live("live", 0), waiting("waiting", 0), removed("removed", 0);
    {
        KZ_2DPlanet doomed;
        doomed.debug = false;
        doomed.add(&live);
        doomed.add(&removed);
        doomed.display(nullptr);
        doomed.add(&waiting);
        doomed.remove(&removed);
        journal().clear();
    }
    // Stack-allocated entities: any delete would have crashed or journaled.
    EXPECT_TRUE(journal().empty());
}

TEST_F(PlanetTest, AnEmptyPlanetTracesItsFourPhasesEveryFrame) {
    planet.debug = true;
    testsupport::captureStdout();
    frame();
    EXPECT_EQ("    <  KZ_2DPlanet createObjects >\n"
              "    </ KZ_2DPlanet createObjects >\n"
              "    <  KZ_2DPlanet updateObjects >\n"
              "    </ KZ_2DPlanet updateObjects >\n"
              "    <  KZ_2DPlanet drawObjects >\n"
              "    </ KZ_2DPlanet drawObjects >\n"
              "    <  KZ_2DPlanet destroyObjects >\n"
              "    </ KZ_2DPlanet destroyObjects >\n",
              testsupport::capturedStdout());
    EXPECT_EQ(1, KZ_Debug::indentation);
}

TEST_F(PlanetTest, TraceNestsFoundInsideTheDestructionAndHonoursBothSwitches) {
    Entity* e = new Entity("e", 0);
    planet.add(e);
    frame();
    planet.remove(e);
    planet.debug = true;
    testsupport::captureStdout();
    planet.hideNotify();
    planet.showNotify();
    planet.destroyObjects();
    EXPECT_EQ("    <  KZ_2DPlanet hideNotify >\n"
              "    </ KZ_2DPlanet hideNotify >\n"
              "    <  KZ_2DPlanet showNotify >\n"
              "    </ KZ_2DPlanet showNotify >\n"
              "    <  KZ_2DPlanet destroyObjects >\n"
              "        found\n"
              "    </ KZ_2DPlanet destroyObjects >\n",
              testsupport::capturedStdout());

    // Master switch off: a tracing planet writes nothing.
    KZ_Debug::debug = false;
    testsupport::captureStdout();
    frame();
    EXPECT_EQ("", testsupport::capturedStdout());
    KZ_Debug::debug = true;

    // Planet switch off: nothing either, also when an entity is found.
    Entity* f = new Entity("f", 0);
    planet.add(f);
    frame();
    planet.remove(f);
    planet.debug = false;
    testsupport::captureStdout();
    frame();
    EXPECT_EQ("", testsupport::capturedStdout());
}

TEST(Planet, BaseCycleRunsThePhasesInOrder) {
    // Records the phases a subclass sees, in the order display() runs them.
    class Phases : public KZ_Planet {
    public:
        Strings seen;
        void add(KZ_Invader*) override {}
        void remove(KZ_Invader*) override {}
        void preCycle() override { seen.push_back("pre"); }
        void postCycle() override { seen.push_back("post"); }
        void camera() override { seen.push_back("camera"); }
        void createObjects() override { seen.push_back("create"); }
        void updateObjects() override { seen.push_back("update"); }
        void drawObjects(KZ_Graphics*) override { seen.push_back("draw"); }
        void destroyObjects() override { seen.push_back("destroy"); }
    } planet;
    EXPECT_TRUE(planet.debug);
    planet.display(nullptr);
    EXPECT_EQ((Strings{"pre", "create", "update", "camera", "draw", "destroy", "post"}),
              planet.seen);
}

} // namespace
