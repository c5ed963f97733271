// A category list: a list view with large icons and read-only, wrapped
// labels, built from a table of items. A click shows the selected item's
// hint; a double-click hands the selected item's position to a dispatch
// function. Items are told apart by position only.
#pragma once

#include <QListWidget>

#include <functional>
#include <span>

namespace tf {

class ImageList;

struct CategoryItem {
  const char *caption;
  int picture; // index in ImageList1
  const char *hint;
};

class CategoryList : public QListWidget {
  Q_OBJECT
public:
  using Hint = std::function<void(const QString &)>;
  using Dispatch = std::function<void(int index)>;

  CategoryList(const QString &objectName, std::span<const CategoryItem> items,
               const ImageList &images, QWidget *parent = nullptr);

  // The click handler (ListViewNClick): the selected item's hint, or nothing.
  void setHintHandler(Hint hint) { HintHandler = std::move(hint); }
  // The double-click handler (ListViewNDblClick): the selected position, or
  // nothing when no item is selected.
  void setDispatch(Dispatch dispatch) { DispatchHandler = std::move(dispatch); }

  // The position of the selected item; -1 when none is.
  int selectedIndex() const;
  // Shows or leaves out the item at `index` (an item whose page is not
  // built); the other items keep their positions.
  void setItemAvailable(int index, bool available);

  // The display options the settings apply to every list.
  void setAutoArrange(bool on);
  void setLabelWrapping(bool on);

protected:
  void mouseReleaseEvent(QMouseEvent *event) override;
  void mouseDoubleClickEvent(QMouseEvent *event) override;
  void keyPressEvent(QKeyEvent *event) override;

private:
  void click();
  void doubleClick();

  std::vector<QString> Hints;
  Hint HintHandler;
  Dispatch DispatchHandler;
};

} // namespace tf
