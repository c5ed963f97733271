#include "security/password_prompts.h"

#include "platform/platform.h"
#include "security/lock_state.h"
#include "security/password_widgets.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tf::security {

namespace {
const QString WrongPassword = QStringLiteral("Wrong Password!");
}

PasswordPrompt::PasswordPrompt(const char *name, QSize client, LockState &lock,
                               QWidget *parent)
    : FixedDialog(name, "Password", client, 0, parent), Lock(lock) {
  auto *label = new QLabel("Password:", this);
  label->setObjectName("Label1");
  Edit1 = addPasswordField(this, "Edit1", label);
  auto *line = new QFrame(this);
  line->setObjectName("Bevel1");
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);
  OfficeButton1 = addButton("OfficeButton1", "O&K");
  OfficeButton2 = addButton("OfficeButton2", "C&ancel");
  OfficeButton1->setDefault(true);

  auto *buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(OfficeButton1);
  buttons->addWidget(OfficeButton2);
  auto *column = new QVBoxLayout(this);
  column->setContentsMargins(8, 6, 8, 6);
  column->setSpacing(3);
  column->addWidget(label);
  column->addWidget(Edit1);
  column->addWidget(line);
  column->addLayout(buttons);

  connect(OfficeButton1, &QPushButton::clicked, this,
          [this] { OfficeButton1Click(); });
  connect(OfficeButton2, &QPushButton::clicked, this,
          [this] { OfficeButton2Click(); });
}

bool PasswordPrompt::typedRightPassword() const {
  return Edit1->text() == Lock.Edit34;
}

TForm6::TForm6(LockState &lock, QWidget *parent)
    : PasswordPrompt("TForm6", {219, 90}, lock, parent) {}

void TForm6::OfficeButton1Click() {
  if (typedRightPassword()) {
    closeWith(Accepted);
    return;
  }
  errorMessage(this, WrongPassword);
  closeWith(Rejected);
}

void TForm6::OfficeButton2Click() { closeWith(Rejected); }

bool TForm6::ask() {
  setResult(Rejected);
  platform().runModal(*this);
  return result() == Accepted;
}

TForm7::TForm7(LockState &lock, QWidget *parent)
    : PasswordPrompt("TForm7", {203, 89}, lock, parent) {}

void TForm7::OfficeButton1Click() {
  if (typedRightPassword())
    Lock.Edit36 = PasswordAccepted;
  else
    errorMessage(this, WrongPassword);
  Edit1->clear();
  closeWith(Accepted);
}

void TForm7::OfficeButton2Click() {
  Edit1->clear();
  closeWith(Rejected);
}

} // namespace tf::security
