// The current prefix's files as the Qt side sees them: QString paths mapped
// through the registry layer's DOS path functions.
#pragma once

#include <QString>

#include <optional>

namespace tf {

// The host directory of drive C: of the current machine.
QString driveCDirectory();
// "C:\\..." for a host path on one of the prefix's drives.
std::optional<QString> hostToDosPath(const QString &hostPath);
// The host path of a DOS path of the prefix.
std::optional<QString> dosToHostPath(const QString &dosPath);

} // namespace tf
