// `TForm8`, "Security": chooses the security type.
#pragma once

#include "settings/fixed_dialog.h"

class QPushButton;

namespace tf::security {

class SecurityTypeBox;

class TForm8 : public FixedDialog {
  Q_OBJECT
public:
  explicit TForm8(QWidget *parent);

  // On activation the stored type is checked.
  void FormActivate();
  // Writes "Type" for the checked radio button (nothing when none is).
  void OfficeButton1Click();
  void OfficeButton2Click() override;

private:
  SecurityTypeBox *GroupBox1;
  QPushButton *OfficeButton1;
  QPushButton *OfficeButton2;
};

} // namespace tf::security
