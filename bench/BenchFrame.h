#ifndef BENCHFRAME_H
#define BENCHFRAME_H

// Shared by the benchmarks: the line of dialogue both sides render, and the
// window every benchmark draws into.
namespace bench {

// The opening line of the investigation scene: short enough for one line.
extern const char* const SHORT_LINE;
// The longest opening line: wraps onto two lines in the dialog strip.
extern const char* const LONG_LINE;

// Empties SDL's event queue, as a frame's event pump does.
void drainEvents();

} // namespace bench

#endif
