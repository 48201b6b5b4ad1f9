#include "KZ/DisplayStack.h"

#include "KZ/Displayable.h"

#include <cassert>

KZ_DisplayStack::KZ_DisplayStack() {
    initDisplayStack();
}

KZ_DisplayStack::~KZ_DisplayStack() {
    initDisplayStack();
}

void KZ_DisplayStack::initDisplayStack() {}

void KZ_DisplayStack::push(KZ_Displayable* d) {
    // clang-format off
    assert(d!=0);
    // clang-format on
    stack.push(d);
    d->pushed();
}

void KZ_DisplayStack::pop() {
    // Popping an empty stack is a caller error; stop here rather than read
    // past the container.
    assert(!stack.empty());
    KZ_Displayable* top = stack.top();
    stack.pop();
    top->poped();
}

void KZ_DisplayStack::swap(KZ_Displayable* s) {
    // clang-format off
    assert(s!=0);
    // clang-format on
    pop();
    push(s);
}

KZ_Displayable* KZ_DisplayStack::getTop() {
    return stack.empty() ? nullptr : stack.top();
}

bool KZ_DisplayStack::isEmpty() {
    return stack.empty();
}
