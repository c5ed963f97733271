#include "security/security_dialog.h"

#include "registry/registry.h"
#include "security/password_widgets.h"
#include "settings/settings_key.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace tf::security {

namespace {
// The help topic of the dialog and of "&Change Security".
constexpr int SecurityHelp = 5;
} // namespace

TForm8::TForm8(QWidget *parent)
    : FixedDialog("TForm8", "Security", {185, 161}, SecurityHelp, parent),
      GroupBox1(new SecurityTypeBox(this)) {
  OfficeButton1 = addButton("OfficeButton1", "O&K");
  OfficeButton2 = addButton("OfficeButton2", "C&ancel");
  OfficeButton1->setDefault(true);

  auto *buttons = new QHBoxLayout;
  buttons->addWidget(OfficeButton1);
  buttons->addWidget(OfficeButton2);
  auto *column = new QVBoxLayout(this);
  column->setContentsMargins(8, 8, 8, 8);
  column->addWidget(GroupBox1, 1);
  column->addLayout(buttons);

  connect(OfficeButton1, &QPushButton::clicked, this,
          &TForm8::OfficeButton1Click);
  connect(OfficeButton2, &QPushButton::clicked, this,
          &TForm8::OfficeButton2Click);
}

void TForm8::FormActivate() {
  settings::withSettingsKey(
      [this](reg::TRegistry &key) { GroupBox1->checkStoredType(key); });
}

void TForm8::OfficeButton1Click() {
  settings::withSettingsKey(
      [this](reg::TRegistry &key) { GroupBox1->writeCheckedType(key); });
  closeWith(Accepted);
}

void TForm8::OfficeButton2Click() { closeWith(Rejected); }

} // namespace tf::security
