#include "app/actions_menu.h"

#include "platform/help_context.h"

#include <array>

namespace tf {

namespace {

struct ActionItem {
  const char *caption;
  const char *name; // the handler is <name>Click
};

constexpr std::array<ActionItem, 23> Items{{
    {"&Add/Remove Programs", "AddRemovePrograms1"},
    {"Add &sound events", "Addsoundevents1"},
    {"&Add Sub menu Item to all files", "AddSubmenuItemtoallfiles1"},
    {"A&dd to New menu", "AddtoNewmenu1"},
    {"&Adding submenu items", "Addingsubmenuitems1"},
    {"&Animation", "Animation1"},
    {"&Bitmap Icons", "BitmapIcons1"},
    {"&Command Promt Here", "CommandPromtHere1"},
    {"&Explore From Here", "ExploreFromHere1"},
    {"&Location of the Default Folders", "LocationoftheDefaultFolder1"},
    {"&Log Program Faults", "LogProgramFaults1"},
    {"&My computer icon", "Mycomputericon1"},
    {"My &computer viewer", "Mycomputerviewer1"},
    {"&Owner Information", "OwnerInformation1"},
    {"&Popup Menu Speed", "PopupMenuSpeed1"},
    {"&Product ID", "ProductID1"},
    {"&Recycle Bin's Icon", "RecycleBinsIcon1"},
    {"&Remove Recycle Bin", "RemoveRecycleBin1"},
    {"R&ename Recycle Bin", "RenameRecycleBin1"},
    {"&Remove the Shortcut Arrows", "RemovetheShortcutArrow1"},
    {"&Setup Path", "SetupPath1"},
    {"&Show Hi color icons", "ShowHicoloricons1"},
    {"&Unassociated file viewer", "Unassociatedfileviewer1"},
}};

constexpr int ActionsHelpContext = 10;

} // namespace

ActionsMenu::ActionsMenu(QWidget *parent) : QMenu(parent) {
  setObjectName(QStringLiteral("PopupMenu3"));
  setTitle(QStringLiteral("Actions"));
  for (const ActionItem &entry : Items) {
    QAction *action = addAction(QString::fromLatin1(entry.caption));
    action->setObjectName(QString::fromLatin1(entry.name));
    setHelpContext(action, ActionsHelpContext);
    action->setVisible(false);
  }
}

QAction *ActionsMenu::item(const QString &handlerName) const {
  for (QAction *action : actions())
    if (action->objectName() == handlerName)
      return action;
  return nullptr;
}

bool ActionsMenu::setHandler(const QString &handlerName,
                             std::function<void()> handler) {
  QAction *action = item(handlerName);
  if (!action)
    return false;
  connect(action, &QAction::triggered, this, std::move(handler));
  action->setVisible(true);
  return true;
}

} // namespace tf
