#include "tweaks/policies/policy_page.h"

#include "platform/platform.h"
#include "platform/wrapping_button.h"
#include "tweaks/common/registry_key.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
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
    : Page(host, text.page, text.caption, parent), Bindings(bindings) {
  auto *page = new QVBoxLayout(this);
  auto *label = new QLabel(text.labelText, this);
  label->setObjectName(text.label);
  label->setWordWrap(true);
  page->addWidget(label);
  QWidget *column = buildColumn();
  column->setAccessibleName(text.caption);
  page->addWidget(column, 1);
  OkButton = addOkCancel(text.okButton, text.cancelButton);
}

// The check boxes in one column. Where the page is too small for them with
// the fonts at hand, their captions wrap and the column scrolls.
QWidget *PolicyPage::buildColumn() {
  auto *boxes = new QWidget;
  Column = new QVBoxLayout(boxes);
  Column->setContentsMargins(0, 0, 0, 0);
  Column->setSpacing(1);
  for (const PolicyBinding &binding : Bindings) {
    auto *box = new WrappingCheckBox(binding.caption, boxes);
    box->setObjectName(binding.checkBox);
    Column->addWidget(box);
    Boxes.push_back(box);
  }
  Column->addStretch();
  auto *scroll = new QScrollArea(this);
  scroll->setFrameShape(QFrame::NoFrame);
  // Tab goes straight to the boxes; the column follows the focused one.
  scroll->setFocusPolicy(Qt::NoFocus);
  scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  scroll->setWidgetResizable(true);
  scroll->setWidget(boxes);
  scroll->viewport()->setAutoFillBackground(false);
  boxes->setAutoFillBackground(false);
  return scroll;
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
