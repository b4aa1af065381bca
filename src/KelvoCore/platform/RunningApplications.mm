#include "platform/RunningApplications.h"

#import <AppKit/AppKit.h>

bool RunningApplications::askToQuit(int pid, bool force)
{
    @autoreleasepool {
        NSRunningApplication* application =
            [NSRunningApplication runningApplicationWithProcessIdentifier:static_cast<pid_t>(pid)];
        if (application == nil)
            return false;
        return force ? [application forceTerminate] : [application terminate];
    }
}
