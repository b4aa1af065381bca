#pragma once

// The desktop's running applications, which quit through their own application object (saving
// their documents, answering the user) rather than by a signal.
namespace RunningApplications {
// Asks the application with this process id to quit (force: at once). False when no application
// has that id or it declines, so that the caller can fall back to a signal.
bool askToQuit(int pid, bool force);
} // namespace RunningApplications
