#include "KZ/Invader.h"

KZ_Invader::KZ_Invader()
    : planet(nullptr)
    , debug(false) {}

KZ_Invader::~KZ_Invader() {}

void KZ_Invader::setPlanet(KZ_Planet* p) {
    planet = p;
}

KZ_Planet* KZ_Invader::getPlanet() {
    return planet;
}
