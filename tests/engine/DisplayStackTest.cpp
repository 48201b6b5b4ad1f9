// The stack of displayables: order of the pushed/poped hooks, the top, and
// the programming errors it refuses.
#include "KZ/DisplayStack.h"
#include "Recorder.h"

#include <gtest/gtest.h>

using recorder::journal;
using Strings = std::vector<std::string>;

namespace {

TEST(DisplayStack, PushPopAndSwapNotifyInOrderAndKeepTheTop) {
    journal().clear();
    recorder::Displayable a("A"), b("B"), c("C");
    KZ_DisplayStack stack;
    EXPECT_TRUE(stack.isEmpty());
    EXPECT_EQ(nullptr, stack.getTop());

    stack.push(&a);
    stack.push(&b);
    EXPECT_EQ(&b, stack.getTop());
    stack.swap(&c); // the old top hears poped() before the new one pushed()
    EXPECT_EQ(&c, stack.getTop());
    stack.pop();
    EXPECT_EQ(&a, stack.getTop());
    EXPECT_FALSE(stack.isEmpty());
    stack.pop();
    EXPECT_TRUE(stack.isEmpty());
    EXPECT_EQ(nullptr, stack.getTop());

    // Never shown or hidden by the stack itself.
    EXPECT_EQ((Strings{"A.pushed", "B.pushed", "B.poped", "C.pushed", "C.poped", "A.poped"}),
              journal());
}

TEST(DisplayStack, DestroyingTheStackLeavesItsDisplayablesAlone) {
    journal().clear();
    recorder::Displayable a("A");
    {
        KZ_DisplayStack stack;
        stack.push(&a);
    }
    EXPECT_EQ((Strings{"A.pushed"}), journal());
    EXPECT_EQ("A", a.name); // still alive and untouched
}

TEST(DisplayStackDeathTest, NullIsRefusedAndAnEmptyStackCannotBePopped) {
    KZ_DisplayStack stack;
    EXPECT_DEATH(stack.push(nullptr), "src/KZ/DisplayStack.cpp.*d!=0");
    recorder::Displayable a("A");
    stack.push(&a);
    EXPECT_DEATH(stack.swap(nullptr), "src/KZ/DisplayStack.cpp.*s!=0");
    stack.pop();
    EXPECT_DEATH(stack.pop(), "src/KZ/DisplayStack.cpp");
    EXPECT_DEATH(stack.swap(&a), "src/KZ/DisplayStack.cpp");
}

} // namespace
