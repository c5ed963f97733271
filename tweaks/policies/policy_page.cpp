#include "tweaks/policies/policy_page.h"

#include "platform/platform.h"
#include "tweaks/common/registry_key.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tf::policies {

const char *policyKeyPath(PolicyKey key) {
  switch (key) {
  case PolicyKey::Explorer:
    return "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
  case PolicyKey::System:
    return "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";
  case PolicyKey::Network:
    return "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Network";
  case PolicyKey::MsDos:
    return "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\WinOldApp";
  }
  return "";
}

PolicyPage::PolicyPage(PageHost &host, const PolicyPageText &text,
                       std::span<const PolicyBinding> bindings, QWidget *parent)
    : Page(host, text.page, text.caption, parent), Bindings(bindings),
      Column(new QVBoxLayout(this)) {
  Column->setSpacing(1);
  auto *label = new QLabel(text.labelText, this);
  label->setObjectName(text.label);
  label->setWordWrap(true);
  Column->addWidget(label);
  Column->addSpacing(4);
  for (const PolicyBinding &binding : Bindings) {
    auto *box = new QCheckBox(binding.caption, this);
    box->setObjectName(binding.checkBox);
    Column->addWidget(box);
    Boxes.push_back(box);
  }
  OkButton = addOkCancel(text.okButton, text.cancelButton);
}

// The rows of one key are handled together on an accessor of their own, and
// the key is closed before the next one is opened, so a page touching two
// keys works on them in the table's order.
template <typename RowAction> void PolicyPage::forEachRow(RowAction action) {
  std::size_t row = 0;
  while (row < Bindings.size()) {
    const PolicyKey current = Bindings[row].key;
    withKey(reg::HKEY_CURRENT_USER, policyKeyPath(current),
            [&](reg::TRegistry &key) {
              for (; row < Bindings.size() && Bindings[row].key == current;
                   ++row)
                action(key, Bindings[row], *Boxes[row]);
            });
  }
}

void PolicyPage::fill() {
  forEachRow(
      [](reg::TRegistry &key, const PolicyBinding &binding, QCheckBox &box) {
        if (key.ValueExists(binding.value))
          box.setChecked(key.ReadBool(binding.value));
      });
}

void PolicyPage::writeBindings() {
  forEachRow(
      [](reg::TRegistry &key, const PolicyBinding &binding, QCheckBox &box) {
        if (box.isChecked())
          key.WriteInteger(binding.value, binding.data);
        else if (key.ValueExists(binding.value))
          key.DeleteValue(binding.value);
      });
  informationMessage(
      window(), "You have to restart your computer to make the changes take "
                "effect");
}

void PolicyPage::insertBelowRow(int row, QWidget *widget) {
  Column->insertWidget(Column->indexOf(Boxes[row]) + 1, widget);
}

} // namespace tf::policies
