#include "platform/prefix_paths.h"

#include "registry/dos_path.h"
#include "registry/machine.h"

#include <filesystem>

namespace tf {

namespace {

std::filesystem::path toPath(const QString &path) {
  return std::filesystem::path(path.toStdU16String());
}

QString fromPath(const std::filesystem::path &path) {
  return QString::fromStdU16String(path.u16string());
}

} // namespace

QString driveCDirectory() {
  const auto machine = reg::Machine::current();
  if (auto drive = reg::dosToHost(*machine, "C:\\"))
    return fromPath(*drive);
  return fromPath(machine->prefix() / "drive_c");
}

std::optional<QString> hostToDosPath(const QString &hostPath) {
  const auto dos = reg::hostToDos(*reg::Machine::current(), toPath(hostPath));
  if (!dos)
    return std::nullopt;
  return QString::fromStdString(*dos);
}

std::optional<QString> dosToHostPath(const QString &dosPath) {
  const auto host =
      reg::dosToHost(*reg::Machine::current(), dosPath.toStdString());
  if (!host)
    return std::nullopt;
  return fromPath(*host);
}

} // namespace tf
