#include "KZ/Platform.h"

// On Linux SDL and the C library already do everything the engine needs.
void KZ_Platform::start() {}
