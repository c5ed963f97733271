// The main window's copies of the password values and the answer of the
// last password prompt. They take the place of the invisible text fields
// `Edit34`, `Edit35` and `Edit36`.
#pragma once

#include <QString>

namespace tf::security {

// The "Show" text that means no password is set. A password equal to it
// counts as none, which is the only way back to an unlocked program.
inline const QString NoPassword = QStringLiteral("2960RuTe");

// The security types stored in "Type".
inline const QString CompletePassword = QStringLiteral("Normal");
inline const QString OnlyForPolicies = QStringLiteral("Only");
inline const QString DontUsePassword = QStringLiteral("Not");

// What `TForm7` leaves in `Edit36` when it accepted the password.
inline const QString PasswordAccepted = QStringLiteral("Ja");

struct LockState {
  // The password ("Show") as last read.
  QString Edit34;
  // The security type ("Type") as last read; empty until one was read.
  QString Edit35;
  // "Ja" right after `TForm7` accepted the password, otherwise "". The
  // caller clears it after reading it.
  QString Edit36;
};

} // namespace tf::security
