#ifndef KZ_TIMEMANAGER_H
#define KZ_TIMEMANAGER_H

// The millisecond clock and the sleep behind the frame timing and the
// double-click test. A class of static members only; never instantiated.
class KZ_TimeManager {
public:
    // Milliseconds since SDL was initialised. Subtract two readings as signed ints.
    static int getTicks();

    // Waits the given number of milliseconds.
    static void sleep(int milliseconds);
};

#endif
