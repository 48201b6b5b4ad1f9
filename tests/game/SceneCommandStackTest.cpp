// The script queue: order of execution and ownership of the commands.

#include "SceneCommandStack.h"
#include "SceneCommand.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// Records what happens to it in a shared journal: each execute(), and its
// death. It is done after `runsNeeded` executions.
class Probe : public SceneCommand {
public:
    Probe(std::string name, std::vector<std::string>* journal, int runsNeeded = 1)
        : name(name)
        , journal(journal)
        , runsNeeded(runsNeeded) {}
    ~Probe() override { journal->push_back("~" + name); }
    void execute() override {
        ++runs;
        journal->push_back(name);
    }
    bool isDone() override { return runs >= runsNeeded; }

    std::string name;
    std::vector<std::string>* journal;
    int runsNeeded;
    int runs = 0;
};

// Queues a further command on its stack the first time it runs, as a reaction
// queued while a script is playing would.
class Spawner : public Probe {
public:
    Spawner(SceneCommandStack* stack, std::vector<std::string>* journal)
        : Probe("spawner", journal)
        , stack(stack) {}
    void execute() override {
        Probe::execute();
        stack->add(new Probe("spawned", journal));
    }
    SceneCommandStack* stack;
};

// Cuts its own script short: clears the stack it runs on, then queues one
// last command.
class Interrupter : public Probe {
public:
    Interrupter(SceneCommandStack* stack, std::vector<std::string>* journal)
        : Probe("interrupter", journal, 1000)
        , stack(stack) {}
    void execute() override {
        Probe::execute();
        stack->clear(nullptr);
        stack->add(new Probe("closing", journal));
    }
    SceneCommandStack* stack;
};

int deaths(const std::vector<std::string>& journal, const std::string& name) {
    int n = 0;
    for (const std::string& entry : journal)
        n += entry == "~" + name ? 1 : 0;
    return n;
}

TEST(SceneCommandStack, RunsCommandsInTheOrderAddedUntilOneIsNotDone) {
    std::vector<std::string> journal;
    SceneCommandStack stack;
    stack.execute(); // empty: nothing to do
    EXPECT_TRUE(stack.commands.empty());

    stack.add(new Probe("a", &journal));
    stack.add(new Probe("b", &journal, 2));
    stack.add(new Probe("c", &journal));
    ASSERT_EQ(3u, stack.commands.size());
    EXPECT_EQ("c", static_cast<Probe*>(stack.commands.front())->name); // newest in front

    // a finishes and is deleted at once, b runs in the same call and is not done.
    stack.execute();
    EXPECT_EQ((std::vector<std::string>{"a", "~a", "b"}), journal);
    EXPECT_EQ(2u, stack.commands.size());

    // b runs again, finishes, and c follows in the same call.
    stack.execute();
    EXPECT_EQ((std::vector<std::string>{"a", "~a", "b", "b", "~b", "c", "~c"}), journal);
    EXPECT_TRUE(stack.commands.empty());

    stack.execute();
    EXPECT_EQ(7u, journal.size());
}

TEST(SceneCommandStack, CommandsAddedDuringPlayRunAfterEveryPendingOne) {
    std::vector<std::string> journal;
    SceneCommandStack stack;
    stack.add(new Spawner(&stack, &journal));
    stack.add(new Probe("line", &journal, 2));

    stack.execute();
    // The spawned command went behind "line", which was already waiting.
    EXPECT_EQ((std::vector<std::string>{"spawner", "~spawner", "line"}), journal);
    stack.execute();
    EXPECT_EQ((std::vector<std::string>{"spawner", "~spawner", "line", "line", "~line", "spawned",
                                        "~spawned"}),
              journal);
}

TEST(SceneCommandStack, OwnsItsCommandsAndDeletesEachExactlyOnce) {
    std::vector<std::string> journal;
    {
        SceneCommandStack stack;
        stack.add(new Probe("first", &journal, 1000)); // stays current
        stack.add(new Probe("second", &journal));
        stack.add(new Probe("third", &journal));
        stack.execute();
        EXPECT_EQ(0, deaths(journal, "first"));
    }
    // Destroying the stack deletes the current and the pending commands, newest first.
    EXPECT_EQ((std::vector<std::string>{"first", "~third", "~second", "~first"}), journal);

    journal.clear();
    SceneCommandStack stack;
    stack.add(new Probe("old", &journal, 1000));
    stack.add(new Probe("older", &journal));
    stack.execute();
    stack.clear(nullptr);
    // clear() drops and deletes every command, and the queue is then empty.
    EXPECT_TRUE(stack.commands.empty());
    EXPECT_EQ(1, deaths(journal, "old"));
    EXPECT_EQ(1, deaths(journal, "older"));
    stack.execute();
    EXPECT_EQ(3u, journal.size());

    // The stack is usable after a clear, and still deletes what it holds.
    stack.add(new Probe("again", &journal));
    stack.execute();
    EXPECT_EQ(1, deaths(journal, "again"));
}

TEST(SceneCommandStack, ACommandMayClearItsOwnScript) {
    std::vector<std::string> journal;
    SceneCommandStack stack;
    stack.add(new Interrupter(&stack, &journal));
    stack.add(new Probe("skipped", &journal));
    stack.execute();
    // The running command is deleted once it has returned, the rest of the
    // script at once; what it queued after the clear runs in the same call.
    EXPECT_EQ((std::vector<std::string>{"interrupter", "~skipped", "~interrupter", "closing",
                                        "~closing"}),
              journal);
    EXPECT_TRUE(stack.commands.empty());
}

} // namespace
