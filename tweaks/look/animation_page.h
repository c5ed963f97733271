// Page `GroupBox5`, "Remove Shrink and Grow animation": switches off and on
// the animation Windows plays when a window is minimized or maximized.
#pragma once

#include "tweaks/common/page.h"

namespace tf {

class EditableComboBox;

class AnimationPage : public Page {
  Q_OBJECT
public:
  explicit AnimationPage(PageHost &host);

  // "O&K".
  void OfficeButton5Click();

protected:
  void fill() override;

private:
  EditableComboBox *ComboBox2;
};

} // namespace tf
