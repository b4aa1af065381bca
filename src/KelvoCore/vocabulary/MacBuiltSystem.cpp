// Compiled into the macOS build only (CMake chooses this file or LinuxBuiltSystem.cpp).
#include "vocabulary/TargetSystem.h"

TargetSystem TargetSystems::built()
{
    return TargetSystem::macOS;
}
