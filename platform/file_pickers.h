// The open-file dialogs of the desktop platform. They browse the host file
// system from the prefix's drive_c and answer with the DOS path of the
// chosen file, since that is what the programs in the prefix understand.
#pragma once

#include "platform/platform.h"

namespace tf {

// The filter and default suffix of each picker, as Qt file dialogs take them.
struct PickerFilter {
  QString nameFilter;
  QString defaultSuffix;
};
PickerFilter pickerFilter(FilePicker picker);

// Runs the dialog; the DOS path of the chosen file, or nothing on cancel or
// when the file lies on no drive of the prefix.
std::optional<QString> pickDosFile(QWidget *owner, FilePicker picker);

} // namespace tf
