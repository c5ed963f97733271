// The frame shared by the program's own dialogs (`TForm5` to `TForm9`): a
// fixed client area, no caption buttons, centred on the screen when shown,
// and "C&ancel" as the answer to Escape or the window manager's close.
#pragma once

#include <QDialog>

class QPushButton;

namespace tf {

class FixedDialog : public QDialog {
  Q_OBJECT
public:
  // `helpContext` 0: the dialog has no help topic of its own.
  FixedDialog(const char *name, const QString &caption, QSize client,
              int helpContext, QWidget *parent);

  // "C&ancel" of the dialog.
  virtual void OfficeButton2Click() = 0;
  void reject() override;

protected:
  void showEvent(QShowEvent *event) override;

  // A push button of the dialog, e.g. "O&K" or "C&ancel", 75 x 25.
  QPushButton *addButton(const char *name, const QString &caption);
  // Closes the dialog with `result` without running any handler.
  void closeWith(int result);
};

} // namespace tf
