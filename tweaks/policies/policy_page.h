// The policy pages: a column of check boxes, one restriction switch each,
// driven by a table of bindings. Opening the page loads the boxes from the
// registry; "O&K" writes them back.
#pragma once

#include "tweaks/common/page.h"

#include <cstdint>
#include <span>
#include <vector>

class QCheckBox;
class QVBoxLayout;

namespace tf::policies {

// The four policy keys under HKEY_CURRENT_USER.
enum class PolicyKey { Explorer, System, Network, MsDos };

const char *policyKeyPath(PolicyKey key);

// One check box tied to one REG_DWORD value: present and non-zero means the
// restriction is in force. A checked box writes `data`; an unchecked one
// deletes the value.
struct PolicyBinding {
  const char *checkBox;
  const char *caption;
  PolicyKey key;
  const char *value;
  std::int32_t data = 1;
};

// What a page shows around its check boxes.
struct PolicyPageText {
  const char *page;
  const char *caption;
  const char *label;
  const char *labelText;
  const char *okButton;
  const char *cancelButton;
};

class PolicyPage : public Page {
  Q_OBJECT
public:
  PolicyPage(PageHost &host, const PolicyPageText &text,
             std::span<const PolicyBinding> bindings, QWidget *parent);

  // "O&K": each row in table order, one accessor per run of rows on the same
  // key, closed before the next key opens; then the restart message.
  void writeBindings();

protected:
  // Each row in table order: a present value sets its box from ReadBool; an
  // absent one leaves the box as it is. A value that is not a REG_DWORD
  // stops the loading at its row, and the page is not shown.
  void fill() override;

  // Puts `widget` into the column right below the check box of `row`.
  void insertBelowRow(int row, QWidget *widget);
  // "O&K", for the page to connect its handler.
  QPushButton *okButton() const { return OkButton; }

private:
  QWidget *buildColumn();
  template <typename RowAction> void forEachRow(RowAction action);

  std::span<const PolicyBinding> Bindings;
  std::vector<QCheckBox *> Boxes;
  QVBoxLayout *Column;
  QPushButton *OkButton;
};

} // namespace tf::policies
