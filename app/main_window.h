// The main window `TForm1`: two toolbar docks, the category list
// `ListView1`, the six category lists in one place at the lower left, the
// pages in one place on the right and the status bar.
#pragma once

#include "tweaks/common/category_host.h"
#include "tweaks/common/image_list.h"

#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <vector>

class QLabel;
class QMenu;
class QAction;
class QToolButton;

namespace tf {

class AboutPage;
class ActionsMenu;
class CategoryList;
class DockToolbar;
class SettingsSteps;
class ToolbarDock;

class TForm1 : public QWidget, public CategoryHost {
  Q_OBJECT
public:
  // What the rest of the program adds to the window: categories and menu
  // items (run before FormCreate, so its settings steps find every list),
  // and the dialogs (created after FormCreate, as the program's other
  // forms are).
  struct Parts {
    std::unique_ptr<SettingsSteps> settings;
    std::vector<std::function<void(TForm1 &)>> extensions;
    std::vector<std::function<void(TForm1 &)>> dialogs;
  };

  static constexpr int DesignLeft = 69;
  static constexpr int DesignTop = 6;
  static constexpr int DesignClientWidth = 522;
  static constexpr int DesignClientHeight = 412;

  explicit TForm1(Parts parts);
  ~TForm1() override;

  // PageHost and CategoryHost.
  void setHint(const QString &hint) override;
  void hideAllPages() override { ToolbarButton971Click(); }
  void terminate() override;
  const ImageList &images() const override { return ImageList1; }
  void addCategoryList(Category category, CategoryList *list) override;
  void addPage(Page *page) override;
  void addBuilder(std::function<void()> build) override;
  // Builds every part that is otherwise made on its first use.
  void buildAllParts();
  void setAction(const QString &handlerName,
                 std::function<void()> handler) override;

  // The status hint.
  QString hint() const;

  // Hide-all-pages, hide-category-lists and the refresh of the lists.
  void ToolbarButton971Click();
  void ToolbarButton972Click();
  void RefreshCategoryLists();

  // Commands.
  void Exit1Click() { terminate(); }
  void Help1Click();
  void GotoTweakforgeHomepage1Click();
  void ToolbarButton974Click();
  void About1Click();
  void ListView1DblClick(int index);

  // What the settings and security parts work on.
  CategoryList *categoryList() const { return ListView1; }
  CategoryList *categoryList(Category category) const;
  // ListView1 and every category list there is.
  std::vector<CategoryList *> allLists() const;
  // Flat (raised only under the mouse) or ordinary raised command buttons
  // Exit, Help, "W" and "A"; "E" stays flat.
  void setCommandButtonsFlat(bool flat);
  // The policies gate: asked before the Policies category opens; the
  // category opens only when it answers true. Lets everyone through unless
  // set.
  void setPoliciesGate(std::function<bool()> gate);
  QMenu *fileMenu() const { return PopupMenu1; }
  QAction *exitAction() const { return Exit1; }
  QMenu *passwordMenu() const { return PopupMenu4; }
  QMenu *helpMenu() const { return PopupMenu2; }
  ActionsMenu *actionsMenu() const { return PopupMenu3; }
  AboutPage *aboutPage() const { return GroupBox1; }
  DockToolbar *menuToolbar() const;
  DockToolbar *commandToolbar() const;

protected:
  void showEvent(QShowEvent *event) override;
  void resizeEvent(QResizeEvent *event) override;
  void closeEvent(QCloseEvent *event) override;

private:
  void buildMenus();
  ToolbarDock *buildMenuDock();
  ToolbarDock *buildCommandDock();
  QWidget *buildBody();
  QToolButton *commandButton(const QString &name, const QString &hint,
                             const QString &accessibleName);
  void wireHints();

  void FormCreate();
  void FormShow();
  void FormResize();
  void FormDestroy();
  void FormMouseMove();
  void Panel2MouseMove();
  void Panel4MouseMove();

  std::unique_ptr<SettingsSteps> Settings;
  std::function<bool()> PoliciesGate;
  bool Shown = false;
  ImageList ImageList1;

  QMenu *PopupMenu1 = nullptr; // File
  QMenu *PopupMenu2 = nullptr; // Help
  ActionsMenu *PopupMenu3 = nullptr;
  QMenu *PopupMenu4 = nullptr; // Password
  QAction *Exit1 = nullptr;
  ToolbarDock *Dock972 = nullptr;
  ToolbarDock *Dock973 = nullptr;
  std::array<QToolButton *, 4> NiceButtons{}; // 978, 979, 9710, 9711
  QWidget *Body = nullptr;
  QWidget *CategoryArea = nullptr;
  QWidget *PageArea = nullptr;
  CategoryList *ListView1 = nullptr;
  std::array<CategoryList *, 6> CategoryLists{};
  std::vector<Page *> Pages;
  std::vector<std::function<void()>> Builders;
  AboutPage *GroupBox1 = nullptr;
  QLabel *StatusHint = nullptr;
};

} // namespace tf
