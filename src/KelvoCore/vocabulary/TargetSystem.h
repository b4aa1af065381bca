#pragma once

#include <QProcessEnvironment>
#include <QString>

#include <optional>

// The system whose places, catalogues and rules the home-folder features use.
enum class TargetSystem { macOS, linuxDesktop };

// The system a run looks at and whether it may change anything: the one Kelvo was built for, unless
// KELVO_SYSTEM names the other as a testing aid. Then the previews look at the given home as that
// system would, so the macOS shapes can be checked on any machine, and nothing acts: a foreign
// system's places are not this machine's. It is chosen once, when Kelvo starts, and passed down to
// every feature as a value. Tests choose a system with acting allowed to check its executors against
// synthetic homes.
struct TargetChoice {
    TargetSystem system;
    bool previewOnly = false;

    bool operator==(const TargetChoice&) const = default;
};

namespace TargetSystems {

// The system this build runs on: the build compiles one definition, MacBuiltSystem.cpp or
// LinuxBuiltSystem.cpp, so no source tests the system for it.
TargetSystem built();

// "macos" or "linux", in any case; none for any other name.
std::optional<TargetSystem> named(const QString& name);

// The built system, acting allowed.
TargetChoice builtChoice();

// The system KELVO_SYSTEM names (preview only when it is not the built one), the built one when it
// is unset or empty; none when it names an unknown system.
std::optional<TargetChoice> chosen(const QProcessEnvironment& environment);

// Why a run may not change anything, translated; none when it may.
std::optional<QString> actingRefusal(const TargetChoice& choice);

// Why KELVO_SYSTEM's value names no system, translated.
QString unknownNameText(const QString& name);

} // namespace TargetSystems
