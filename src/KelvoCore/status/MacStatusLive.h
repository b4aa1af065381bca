#pragma once

#include "status/LocalSystemStatus.h"

#include <optional>

// This Mac's status as the live sampler measures it: the system's tools and kernel, the overview and
// the battery details read on the first call and kept for the run, the Trash size kept for 30 seconds.
// Blocking for at least the 0.2 s CPU measurement; safe to call from several workers at once.
namespace MacStatusLive {
LocalSystemStatus::Measurement measure(const std::optional<LocalSystemStatus::Processes>& processes);
} // namespace MacStatusLive
