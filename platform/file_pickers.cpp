#include "platform/file_pickers.h"

#include "platform/prefix_paths.h"

#include <QFileDialog>

namespace tf {

PickerFilter pickerFilter(FilePicker picker) {
  switch (picker) {
  case FilePicker::Program:
    return {QStringLiteral("Programs (*.exe)"), QStringLiteral("exe")};
  case FilePicker::Icon:
    return {QStringLiteral("Icons (*.ico)"), QString()};
  }
  return {};
}

std::optional<QString> pickDosFile(QWidget *owner, FilePicker picker) {
  const PickerFilter filter = pickerFilter(picker);
  QFileDialog dialog(owner, QStringLiteral("Open"), driveCDirectory(),
                     filter.nameFilter);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  // The user may type the name of a file that does not exist yet.
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setDefaultSuffix(filter.defaultSuffix);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
    return std::nullopt;
  return hostToDosPath(dialog.selectedFiles().constFirst());
}

} // namespace tf
