#pragma once

#include "installer/LocalInstallerPreview.h"

#include <QFuture>
#include <QProcessEnvironment>

// Runs the installer scan on a background thread, two levels below each location.
namespace InstallerPreviewService {
// The environment is accepted for symmetry with the other services; the scan does not read it.
QFuture<InstallerPreviewReport>
snapshot(const QString& home, const QProcessEnvironment& environment,
         LocalInstallerPreview::Places places = LocalInstallerPreview::systemPlaces(),
         LocalInstallerPreview::Options options = {});
} // namespace InstallerPreviewService
