#include "KZ/Displayable.h"

void KZ_Displayable::display(KZ_Graphics*) {}

void KZ_Displayable::showNotify() {}

void KZ_Displayable::hideNotify() {}

void KZ_Displayable::pushed() {}

void KZ_Displayable::poped() {}
