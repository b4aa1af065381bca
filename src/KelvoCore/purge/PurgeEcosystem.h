#pragma once

#include <QString>

// The ecosystem an artefact belongs to, for grouping a project scan's results.
enum class PurgeEcosystem { javaScript, python, apple, systems, jvm, android, dotnet, other };

namespace PurgeEcosystems {
// What an artefact's name alone tells: "node_modules" is JavaScript's; a name several ecosystems use
// ("target", "build", "bin") is `other` here and takes its ecosystem from the project files around it.
PurgeEcosystem of(const QString& target);
// "JavaScript / Node", "Python", "iOS / macOS", "Rust / Go / Zig", "Java / Maven",
// "Android / Gradle / Flutter", ".NET", "Other" / "其他".
QString title(PurgeEcosystem ecosystem);
} // namespace PurgeEcosystems
