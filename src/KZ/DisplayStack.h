#ifndef KZ_DISPLAYSTACK_H
#define KZ_DISPLAYSTACK_H

#include <deque>
#include <stack>

class KZ_Displayable;

// Last-in, first-out stack of displayables; only the top is shown. Holds plain
// pointers and owns nothing: neither pop() nor the destructor deletes a
// displayable. No element is ever null. Push, pop and swap only call pushed()
// and poped(); showing and hiding is the main loop's business, at the start of
// the next frame.
class KZ_DisplayStack {
public:
    // An empty stack.
    KZ_DisplayStack();
    // Releases the container only; deletes no displayable.
    ~KZ_DisplayStack();

    // Hook run on construction and destruction; does nothing.
    void initDisplayStack();
    // Puts `d` (never null) on top, then calls d->pushed().
    void push(KZ_Displayable* d);
    // Takes the top off, then calls poped() on it. The stack must not be empty.
    void pop();
    // Replaces the top by `s` (never null): pop(), then push(s). Not on an empty stack.
    void swap(KZ_Displayable* s);
    // The top element, or null when the stack is empty.
    KZ_Displayable* getTop();
    // True when the stack holds nothing.
    bool isEmpty();

private:
    std::stack<KZ_Displayable*, std::deque<KZ_Displayable*>> stack; // top is shown
};

#endif
