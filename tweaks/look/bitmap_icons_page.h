// Page `GroupBox3`, "View icons as bitmaps.": lets the shell draw each
// bitmap file's own content as its icon, or puts the Paint icon back.
#pragma once

#include "tweaks/common/page.h"

namespace tf {

class CategoryList;
class EditableComboBox;
class ImageList;

class BitmapIconsPage : public Page {
  Q_OBJECT
public:
  BitmapIconsPage(PageHost &host, const ImageList &images);

  // "O&K".
  void OfficeButton1Click();

protected:
  void fill() override;

private:
  CategoryList *ListView2;
  EditableComboBox *ComboBox1;
};

} // namespace tf
