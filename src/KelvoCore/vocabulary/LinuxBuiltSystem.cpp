// Compiled into every build but macOS's (CMake chooses this file or MacBuiltSystem.cpp).
#include "vocabulary/TargetSystem.h"

TargetSystem TargetSystems::built()
{
    return TargetSystem::linuxDesktop;
}
