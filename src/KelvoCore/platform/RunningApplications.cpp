#include "platform/RunningApplications.h"

// Linux has no application object to ask: a signal is how a process is told to quit.
bool RunningApplications::askToQuit(int, bool)
{
    return false;
}
