#include "KZ/Observer.h"

KZ_Observer::KZ_Observer() {}

void KZ_Observer::notify(KZ_Subject*, void*) {}
