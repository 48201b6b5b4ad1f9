// Topics and documents test the mouse themselves: strict edges, one reaction
// per press, and the document's fixed 180 x 200 area.

#include "Documento.h"
#include "KZ/2DPlanet.h"
#include "KZ/FontRenderer.h"
#include "KZ/Sprite.h"
#include "ScriptFixture.h"
#include "XarnTopico.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <string>

using namespace scripttest;
using testsupport::pushLeftPress;
using testsupport::pushLeftRelease;
using testsupport::pushMotion;

namespace {

class CountingTopic : public XarnTopico {
public:
    using XarnTopico::XarnTopico;
    void clicked() override { ++clicks; }
    int clicks = 0;
};

class ReadingDocument : public Documento {
public:
    using Documento::Documento;
    void clicked() override {
        ++clicks;
        std::fputs("reading\n", stdout);
    }
    int clicks = 0;
};

class TopicTest : public ::testing::Test {
protected:
    void SetUp() override {
        openFixtureWindow();
        planet.debug = false;
        topic = new CountingTopic("Arma");
        planet.add(topic);
    }

    void cycle() { bareFrame(&planet); }

    // The pointer moves to (x, y) and one cycle runs; returns whether the
    // topic's bar is drawn (right end of the bar, clear of the short text).
    bool hoveredAt(int x, int y) {
        pushMotion(x, y);
        cycle();
        bool drawn = Snapshot().count(150, 1, 199, 19, BACKDROP) == 49 * 18;
        EXPECT_EQ(drawn, topic->hover);
        return drawn;
    }

    KZ_2DPlanet planet;
    CountingTopic* topic = nullptr;
};

TEST_F(TopicTest, HoverAreaIsStrictlyInsideTheFixedRectangle) {
    EXPECT_EQ(10, topic->getZ());
    EXPECT_EQ(200, topic->width);
    EXPECT_EQ(20, topic->height);
    EXPECT_TRUE(hoveredAt(199, 10));
    EXPECT_FALSE(hoveredAt(200, 10));
    EXPECT_FALSE(hoveredAt(0, 10));
    EXPECT_TRUE(hoveredAt(1, 10));
    EXPECT_FALSE(hoveredAt(50, 0));
    EXPECT_TRUE(hoveredAt(50, 1));
    EXPECT_TRUE(hoveredAt(50, 19));
    EXPECT_FALSE(hoveredAt(50, 20));

    // Moved: the area follows the topic's position.
    topic->setX(300);
    topic->setY(100);
    pushMotion(301, 101);
    cycle();
    EXPECT_TRUE(topic->hover);
    EXPECT_EQ(BACKDROP, Snapshot().at(495, 115));
}

TEST_F(TopicTest, APressInsideCallsClickedOnceHoldingDoesNot) {
    pushLeftPress(200, 10); // on the edge: outside
    cycle();
    EXPECT_EQ(0, topic->clicks);
    pushLeftRelease(200, 10);
    pushMotion(120, 10);
    cycle();
    EXPECT_EQ(0, topic->clicks); // moving in does not click

    pushLeftPress(120, 10);
    cycle();
    EXPECT_EQ(1, topic->clicks);
    EXPECT_TRUE(topic->hover);
    for (int i = 0; i < 3; ++i)
        cycle(); // held down
    EXPECT_EQ(1, topic->clicks);
    pushLeftRelease(120, 10);
    cycle();
    pushLeftPress(120, 10);
    cycle();
    EXPECT_EQ(2, topic->clicks);
}

TEST_F(TopicTest, TextWiderThanTheBarRunsPastItWithoutWideningTheArea) {
    CountingTopic* wide =
        new CountingTopic("Un tema con un texto mucho mas largo que la barra de seleccion");
    wide->setY(200);
    planet.add(wide);
    pushMotion(199, 210);
    cycle();
    EXPECT_GT(wide->fontRenderer->getWidth(), 200);
    EXPECT_EQ(20, wide->sprite->getHeight());
    EXPECT_TRUE(wide->hover);
    Snapshot s;
    EXPECT_GT(s.glyphs(201, 200, 640, 225), 0); // the text, on one line, past the bar
    EXPECT_EQ(0, s.count(201, 200, 640, 225, BACKDROP));

    pushMotion(300, 210); // over the text, outside the area
    pushLeftPress(300, 210);
    cycle();
    EXPECT_FALSE(wide->hover);
    EXPECT_EQ(0, wide->clicks);
}

class DocumentTest : public ::testing::Test {
protected:
    void SetUp() override {
        openFixtureWindow();
        planet.debug = false;
        document = new ReadingDocument("res/document.png"); // 32 x 32
        document->setX(100);
        document->setY(50);
        planet.add(document);
        cycle();
    }

    void cycle() { bareFrame(&planet); }

    // A press and release at (x, y); returns what was printed in that cycle.
    std::string clickAt(int x, int y) {
        pushLeftPress(x, y);
        testsupport::captureStdout();
        cycle();
        std::string out = testsupport::capturedStdout();
        pushLeftRelease(x, y);
        cycle();
        return out;
    }

    KZ_2DPlanet planet;
    ReadingDocument* document = nullptr;
};

TEST_F(DocumentTest, IsShownAndHitAs180By200AndPrintsBeforeReacting) {
    EXPECT_EQ(180 * 200, Snapshot().count(0, 0, 640, 480, DOCUMENT));
    EXPECT_EQ(180 * 200, Snapshot().count(100, 50, 280, 250, DOCUMENT));

    EXPECT_EQ("clicked \nreading\n", clickAt(279, 249));
    EXPECT_EQ(1, document->clicks);
    EXPECT_EQ("clicked \nreading\n", clickAt(101, 51));
    EXPECT_EQ(2, document->clicks);

    // The four edges and beyond are outside.
    EXPECT_EQ("", clickAt(100, 100));
    EXPECT_EQ("", clickAt(280, 100));
    EXPECT_EQ("", clickAt(150, 50));
    EXPECT_EQ("", clickAt(150, 250));
    EXPECT_EQ(2, document->clicks);
}

TEST_F(DocumentTest, OnlyTheCycleOfThePressCounts) {
    pushMotion(150, 100); // moving over it does nothing
    cycle();
    EXPECT_EQ(0, document->clicks);

    pushLeftPress(150, 100);
    cycle();
    EXPECT_EQ(1, document->clicks);
    pushMotion(160, 110); // held down and moved
    cycle();
    cycle();
    EXPECT_EQ(1, document->clicks);

    // Pressed outside and dragged in: no click either.
    pushLeftRelease(160, 110);
    pushLeftPress(400, 400);
    cycle();
    pushMotion(150, 100);
    cycle();
    EXPECT_EQ(1, document->clicks);
}

} // namespace
