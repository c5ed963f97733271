// What a category needs from the main window to put its list, its pages and
// its "Actions" menu items in place.
#pragma once

#include "tweaks/common/page.h"

#include <functional>

namespace tf {

class CategoryList;
class ImageList;

// The six categories, by their position in the category list `ListView1`.
enum class Category : int {
  Look = 0,          // ListView3
  Functionality = 1, // ListView5
  Information = 2,   // ListView6
  Speed = 3,         // ListView7
  Other = 4,         // ListView10
  Policies = 5,      // ListView11
};

class CategoryHost : public PageHost {
public:
  // ImageList1.
  virtual const ImageList &images() const = 0;
  // Puts the category's list in the category-list place and shows its item
  // in `ListView1`; the host takes ownership.
  virtual void addCategoryList(Category category, CategoryList *list) = 0;
  // Puts a page in the page place, hidden; the host takes ownership.
  virtual void addPage(Page *page) = 0;
  // Registers how to build parts that are made on their first use, so that
  // a tool can have them all at once.
  virtual void addBuilder(std::function<void()> build) = 0;
  // Shows the "Actions" menu item whose handler is `handlerName` (for
  // "Animation1Click", "Animation1") and makes it run `handler`.
  virtual void setAction(const QString &handlerName,
                         std::function<void()> handler) = 0;
};

} // namespace tf
