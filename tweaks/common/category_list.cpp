#include "tweaks/common/category_list.h"

#include "tweaks/common/image_list.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace tf {

CategoryList::CategoryList(const QString &objectName,
                           std::span<const CategoryItem> items,
                           const ImageList &images, QWidget *parent)
    : QListWidget(parent) {
  setObjectName(objectName);
  setViewMode(QListView::IconMode);
  setIconSize(QSize(ImageList::Size, ImageList::Size));
  setMovement(QListView::Static);
  setFlow(QListView::LeftToRight);
  setWrapping(true);
  setResizeMode(QListView::Adjust);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setUniformItemSizes(true);
  setSpacing(2);
  setLabelWrapping(true);
  for (const CategoryItem &item : items) {
    addItem(new QListWidgetItem(images.icon(item.picture),
                                QString::fromUtf8(item.caption)));
    Hints.push_back(QString::fromUtf8(item.hint));
  }
}

int CategoryList::selectedIndex() const {
  const QList<QListWidgetItem *> selected = selectedItems();
  return selected.isEmpty() ? -1 : row(selected.constFirst());
}

void CategoryList::setItemAvailable(int index, bool available) {
  setRowHidden(index, !available);
}

void CategoryList::setAutoArrange(bool on) {
  setResizeMode(on ? QListView::Adjust : QListView::Fixed);
  doItemsLayout();
}

void CategoryList::setLabelWrapping(bool on) {
  setWordWrap(on);
  // Wrapped labels take up to three lines under the icon; unwrapped ones are
  // elided to the grid width.
  const QFontMetrics metrics(font());
  const int lines = on ? 3 : 1;
  setGridSize(QSize(metrics.averageCharWidth() * 14,
                    ImageList::Size + 8 + lines * metrics.lineSpacing()));
  setTextElideMode(on ? Qt::ElideNone : Qt::ElideRight);
  doItemsLayout();
}

void CategoryList::mouseReleaseEvent(QMouseEvent *event) {
  // A click on the empty area leaves nothing selected, as on Windows.
  if (!indexAt(event->position().toPoint()).isValid())
    clearSelection();
  QListWidget::mouseReleaseEvent(event);
  click();
}

void CategoryList::mouseDoubleClickEvent(QMouseEvent *event) {
  QListWidget::mouseDoubleClickEvent(event);
  doubleClick();
}

void CategoryList::keyPressEvent(QKeyEvent *event) {
  // Enter opens the selected item, so the lists work from the keyboard.
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    if (selectedIndex() < 0 && currentItem())
      currentItem()->setSelected(true);
    doubleClick();
    return;
  }
  const int before = selectedIndex();
  QListWidget::keyPressEvent(event);
  if (selectedIndex() != before)
    click();
}

void CategoryList::click() {
  const int index = selectedIndex();
  if (index >= 0 && HintHandler)
    HintHandler(Hints[std::size_t(index)]);
}

void CategoryList::doubleClick() {
  const int index = selectedIndex();
  if (index >= 0 && DispatchHandler)
    DispatchHandler(index);
}

} // namespace tf
