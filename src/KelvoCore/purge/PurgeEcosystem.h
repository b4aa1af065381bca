#pragma once

#include <QString>

// The ecosystem an artefact belongs to, for grouping a project scan's results.
enum class PurgeEcosystem { javaScript, python, apple, systems, android, other };

namespace PurgeEcosystems {
PurgeEcosystem of(const QString& target);
// "JavaScript / Node", "Python", "iOS / macOS", "Rust / Go / Zig", "Android / Flutter", "Other" / "其他".
QString title(PurgeEcosystem ecosystem);
} // namespace PurgeEcosystems
