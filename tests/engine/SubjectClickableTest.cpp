// Subjects, observers and clickable areas; clicks come through real events.
#include "KZ/BoundingBox.h"
#include "KZ/Clickable.h"
#include "KZ/EventManager.h"
#include "KZ/Observer.h"
#include "KZ/Subject.h"
#include "TestSupport.h"

#include <SDL/SDL.h>
#include <functional>
#include <gtest/gtest.h>

namespace {

using Strings = std::vector<std::string>;

Strings heard;

class Subject : public KZ_Subject {};

// Records each notification; `react` runs inside notify().
class Observer : public KZ_Observer {
public:
    std::string name;
    KZ_Subject* lastSubject = nullptr;
    void* lastData = reinterpret_cast<void*>(1);
    std::function<void()> react;

    explicit Observer(std::string name)
        : name(std::move(name)) {}

    void notify(KZ_Subject* subject, void* data) override {
        heard.push_back(name);
        lastSubject = subject;
        lastData = data;
        if (react) {
            react();
        }
    }
};

class SubjectTest : public ::testing::Test {
protected:
    Subject subject;
    Observer a{"A"}, b{"B"}, c{"C"};

    void SetUp() override { heard.clear(); }

    Strings notify() {
        heard.clear();
        subject.notifyObservers();
        return heard;
    }
};

TEST_F(SubjectTest, NotifiesInSubscriptionOrderDuplicatesIncluded) {
    EXPECT_EQ(Strings{}, notify());
    subject.subscribe(&a, nullptr);
    subject.subscribe(&b, nullptr);
    subject.subscribe(&a, nullptr);
    EXPECT_EQ((Strings{"A", "B", "A"}), notify());
    EXPECT_EQ(&subject, a.lastSubject);
    EXPECT_EQ(nullptr, a.lastData);

    subject.unsubscribe(&a, nullptr); // the first entry only
    EXPECT_EQ((Strings{"B", "A"}), notify());
    subject.unsubscribe(&c, nullptr); // not subscribed: nothing
    EXPECT_EQ((Strings{"B", "A"}), notify());
    EXPECT_EQ((std::vector<KZ_Observer*>{&b, &a}), subject.observers);
}

TEST_F(SubjectTest, ObserverUnsubscribingItselfDuringNotifyDoesNotSkipTheNext) {
    subject.subscribe(&a, nullptr);
    subject.subscribe(&b, nullptr);
    subject.subscribe(&c, nullptr);
    a.react = [&] { subject.unsubscribe(&a, nullptr); };
    EXPECT_EQ((Strings{"A", "B", "C"}), notify());
    EXPECT_EQ((Strings{"B", "C"}), notify());
    EXPECT_EQ((std::vector<KZ_Observer*>{&b, &c}), subject.observers);
}

TEST_F(SubjectTest, ObserverUnsubscribedByAnEarlierOneIsNotNotified) {
    subject.subscribe(&a, nullptr);
    subject.subscribe(&b, nullptr);
    subject.subscribe(&c, nullptr);
    a.react = [&] { subject.unsubscribe(&b, nullptr); };
    EXPECT_EQ((Strings{"A", "C"}), notify());
    EXPECT_EQ((std::vector<KZ_Observer*>{&a, &c}), subject.observers);
}

TEST_F(SubjectTest, ObserverSubscribedDuringNotifyIsNotifiedFromTheNextRound) {
    subject.subscribe(&a, nullptr);
    a.react = [&] {
        subject.subscribe(&b, nullptr);
        a.react = nullptr;
    };
    EXPECT_EQ((Strings{"A"}), notify());
    EXPECT_EQ((Strings{"A", "B"}), notify());
}

TEST_F(SubjectTest, NestedNotificationsKeepTheListConsistent) {
    subject.subscribe(&a, nullptr);
    subject.subscribe(&b, nullptr);
    subject.subscribe(&c, nullptr);
    // A notifies again from inside its notify, and B leaves during that inner round.
    a.react = [&] {
        a.react = nullptr;
        b.react = [&] { subject.unsubscribe(&b, nullptr); };
        subject.notifyObservers();
    };
    EXPECT_EQ((Strings{"A", "A", "B", "C", "C"}), notify());
    EXPECT_EQ((std::vector<KZ_Observer*>{&a, &c}), subject.observers);
}

// A clickable area that counts its clicked() calls and what it saw then.
class Area : public KZ_Clickable {
public:
    int clicks = 0;
    bool clickedSawWasClicked = false;
    bool clickedSawHover = false;
    void clicked() override {
        clicks++;
        clickedSawWasClicked = wasClicked();
        clickedSawHover = isHover();
    }
};

class ClickableTest : public ::testing::Test {
protected:
    KZ_BoundingBox box{100, 50, 80, 20};
    Area area;

    void SetUp() override {
        testsupport::openWindow();
        area.setBB(&box);
    }

    // One cycle: pump the events, then the entity's check().
    void cycle() {
        KZ_EventManager::poll();
        area.check();
    }
};

TEST_F(ClickableTest, EdgesAreOutsideAndOnePixelInIsInside) {
    for (auto [x, y] : {std::pair{100, 60}, {180, 60}, {150, 50}, {150, 70}}) {
        testsupport::pushMotion(x, y);
        cycle();
        EXPECT_FALSE(area.isHover()) << x << "," << y;
    }
    testsupport::pushMotion(101, 51);
    cycle();
    EXPECT_TRUE(area.isHover());
    testsupport::pushMotion(179, 69);
    cycle();
    EXPECT_TRUE(area.isHover());
}

TEST_F(ClickableTest, APressInsideClicksOnceAndHoldingDoesNotClickAgain) {
    testsupport::pushMotion(150, 60);
    cycle();
    testsupport::pushLeftPress(150, 60);
    cycle();
    EXPECT_EQ(1, area.clicks);
    EXPECT_TRUE(area.wasClicked());
    EXPECT_FALSE(area.clickedSawWasClicked); // set only after clicked() returns
    EXPECT_TRUE(area.clickedSawHover);       // from the previous check

    cycle(); // still held
    EXPECT_EQ(1, area.clicks);
    EXPECT_FALSE(area.wasClicked());
    EXPECT_TRUE(area.isHover());

    testsupport::pushLeftRelease(150, 60);
    cycle();
    EXPECT_EQ(1, area.clicks); // the release is not a click
}

TEST_F(ClickableTest, PressingOutsideThenDraggingInIsNoClick) {
    testsupport::pushLeftPress(10, 10);
    cycle();
    testsupport::pushMotion(150, 60);
    cycle();
    EXPECT_TRUE(area.isHover());
    EXPECT_EQ(0, area.clicks);
    testsupport::pushLeftRelease(150, 60);
    cycle();
}

TEST_F(ClickableTest, APressAndAMoveInsideWithinOneCycleIsAClick) {
    testsupport::pushLeftPress(10, 10);
    testsupport::pushMotion(150, 60);
    cycle();
    EXPECT_EQ(1, area.clicks);
    EXPECT_FALSE(area.clickedSawHover);
    EXPECT_TRUE(area.wasClicked());
}

TEST_F(ClickableTest, RightPressNeverClicks) {
    testsupport::pushButton(true, SDL_BUTTON_RIGHT, 150, 60);
    cycle();
    EXPECT_EQ(0, area.clicks);
    EXPECT_TRUE(area.isHover());
}

TEST_F(ClickableTest, WithoutAreaOnlyTheClickIsCleared) {
    testsupport::pushLeftPress(150, 60);
    cycle();
    ASSERT_TRUE(area.wasClicked());
    area.setBB(nullptr);
    cycle();
    EXPECT_FALSE(area.wasClicked());
    EXPECT_TRUE(area.isHover()); // kept from the last check with an area
    testsupport::pushLeftRelease(150, 60);
    testsupport::pushLeftPress(150, 60);
    cycle();
    EXPECT_EQ(1, area.clicks);
}

} // namespace
