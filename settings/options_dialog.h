// The Options dialog `TForm9` and the File menu's "&Options" command that
// shows it (`ResetPosition1Click`).
#pragma once

#include "settings/fixed_dialog.h"

class QCheckBox;
class QGroupBox;
class QIcon;
class QPushButton;
class QRadioButton;
class QTabBar;

namespace reg {
class TRegistry;
}

namespace tf::settings {

class SettingsTarget;

class TForm9 : public FixedDialog {
  Q_OBJECT
public:
  explicit TForm9(SettingsTarget &target, QWidget *parent = nullptr);

  // Checks the radio buttons after "Auto", "Save", "Wrap" and "Nice", in
  // that order, each read as text from the open settings key.
  void presetFrom(reg::TRegistry &key);

  // The selected tab decides which group box and which of its controls show.
  void TabControl1Change();
  // "O&K": writes "Wrap", "Nice", "Save" and "Auto", then resets or centres
  // the main window when asked to, and closes.
  void OfficeButton1Click();
  // "C&ancel": closes writing nothing.
  void OfficeButton2Click() override;

private:
  QWidget *buildTabs();
  void fitTo(QWidget *tabArea);
  void buildButtons();
  QGroupBox *addGroupBox(const char *name, const QIcon &picture);
  QRadioButton *addRadioButton(QGroupBox *box, const char *name,
                               const QString &caption, int row);
  QCheckBox *addCheckBox(QGroupBox *box, const char *name,
                         const QString &caption, int row);
  void showTab(int index);
  void placeMainWindow();
  void centreMainWindow();
  void closeAndReset(int result);

  SettingsTarget &Target;
  QTabBar *TabControl1;
  QGroupBox *GroupBox1;
  QGroupBox *GroupBox2;
  QGroupBox *GroupBox3;
  QGroupBox *GroupBox4;
  QRadioButton *RadioButton1;
  QRadioButton *RadioButton2;
  QRadioButton *RadioButton3;
  QRadioButton *RadioButton4;
  QRadioButton *RadioButton5;
  QRadioButton *RadioButton6;
  QRadioButton *RadioButton7;
  QRadioButton *RadioButton8;
  QCheckBox *CheckBox1;
  QCheckBox *CheckBox2;
  QPushButton *OfficeButton1;
  QPushButton *OfficeButton2;
};

// The File menu's "&Options" (`ResetPosition1Click`): presets the dialog from
// the registry, shows it modally, then applies the display options and
// refreshes the category lists whichever button closed it.
void ResetPosition1Click(TForm9 &dialog, SettingsTarget &target);

} // namespace tf::settings
