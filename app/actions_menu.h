// The "Actions" menu `PopupMenu3`: one item per tweak page, in a fixed order,
// each with help context 10. An item appears once its category has set its
// handler, so no item leads to a page that is not built.
#pragma once

#include <QMenu>

#include <functional>

namespace tf {

class ActionsMenu : public QMenu {
  Q_OBJECT
public:
  explicit ActionsMenu(QWidget *parent = nullptr);

  // Shows the item of `handlerName` ("Animation1" for Animation1Click) and
  // makes it run `handler`. Returns false for an unknown name.
  bool setHandler(const QString &handlerName, std::function<void()> handler);
  // The item of `handlerName`, shown or not; null for an unknown name.
  QAction *item(const QString &handlerName) const;
};

} // namespace tf
