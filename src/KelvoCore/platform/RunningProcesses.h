#pragma once

#include <QSet>
#include <QString>

// The names of the processes running now.
namespace RunningProcesses {
// Runs "/bin/ps -axo comm=" and keeps the last path component of each line. Empty when the
// listing fails or hangs past its time limit.
QSet<QString> names();
// The same reading of a listing already captured.
QSet<QString> namesFromListing(const QByteArray& listing);
} // namespace RunningProcesses
