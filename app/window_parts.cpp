#include "app/window_parts.h"

#include "app/settings_steps.h"
#include "platform/help_context.h"
#include "security/password_lock.h"
#include "settings/options_dialog.h"
#include "settings/settings_key.h"
#include "settings/settings_steps.h"
#include "settings/settings_target.h"
#include "tweaks/common/category_list.h"
#include "tweaks/common/lazy.h"

#include <QAction>
#include <QMenu>
#include <QScreen>

#include <memory>

namespace tf {

namespace {

// Help contexts of the menu items.
constexpr int OptionsHelp = 1;
constexpr int SetPasswordHelp = 7;
constexpr int SecurityHelp = 5;

// The main window as the settings see it.
class MainWindowTarget : public settings::SettingsTarget {
public:
  explicit MainWindowTarget(TForm1 &form) : Form(form) {}

  void setCommandButtonsFlat(bool flat) override {
    Form.setCommandButtonsFlat(flat);
  }
  void switchAutoArrangeOn() override {
    for (CategoryList *list : Form.allLists())
      list->setAutoArrange(true);
  }
  void setLabelWrap(bool wrap) override {
    for (CategoryList *list : Form.allLists())
      list->setLabelWrapping(wrap);
  }
  void refreshCategoryLists() override { Form.RefreshCategoryLists(); }
  QRect windowFrame() const override { return Form.frameGeometry(); }
  void setWindowLeft(int left) override { Form.move(left, Form.y()); }
  void setWindowTop(int top) override { Form.move(Form.x(), top); }
  QRect screenGeometry() const override { return Form.screen()->geometry(); }

private:
  TForm1 &Form;
};

// What the steps, the menu items and the gate share. The lock and the
// makers of the dialogs exist only from the end of FormCreate on; each dialog
// is made on its first use.
struct SettingsAndLock {
  std::unique_ptr<MainWindowTarget> Target;
  std::unique_ptr<security::PasswordLock> Lock;
  std::unique_ptr<Lazy<settings::TForm9>> Form9;
};

class MainWindowSteps : public SettingsSteps {
public:
  explicit MainWindowSteps(std::shared_ptr<SettingsAndLock> shared)
      : Shared(std::move(shared)) {}

  void atCreation(TForm1 &form) override {
    MainWindowTarget target(form);
    settings::withSettingsKey(
        [&](reg::TRegistry &key) { settings::atCreation(key, target); });
  }

  // A refused start-up password ends the program before the window takes
  // any input; the position is still saved at exit.
  void atFirstShowing(TForm1 &form) override {
    if (Shared->Lock->firstShowing(*Shared->Target))
      return;
    form.setEnabled(false);
    form.terminate();
  }

  void atExit(TForm1 &form) override {
    const MainWindowTarget target(form);
    settings::withSettingsKey(
        [&](reg::TRegistry &key) { settings::atExit(key, target); });
  }

private:
  std::shared_ptr<SettingsAndLock> Shared;
};

QAction *addMenuItem(QMenu *menu, QAction *before, const char *name,
                     const QString &caption, int helpContext) {
  auto *item = new QAction(caption, menu);
  item->setObjectName(name);
  setHelpContext(item, helpContext);
  menu->insertAction(before, item);
  return item;
}

void addMenuItems(TForm1 &form,
                  const std::shared_ptr<SettingsAndLock> &shared) {
  QMenu *file = form.fileMenu();
  QAction *options = addMenuItem(file, form.exitAction(), "ResetPosition1",
                                 "&Options", OptionsHelp);
  file->insertSeparator(form.exitAction())->setObjectName("N2");
  QObject::connect(options, &QAction::triggered, &form, [shared] {
    settings::ResetPosition1Click(shared->Form9->get(), *shared->Target);
  });

  QMenu *password = form.passwordMenu();
  QObject::connect(addMenuItem(password, nullptr, "SetChangePassword1",
                               "&Set/Change Password", SetPasswordHelp),
                   &QAction::triggered, &form,
                   [shared] { shared->Lock->SetChangePassword1Click(); });
  QObject::connect(addMenuItem(password, nullptr, "Security1",
                               "&Change Security", SecurityHelp),
                   &QAction::triggered, &form,
                   [shared] { shared->Lock->Security1Click(); });

  form.setPoliciesGate([shared] { return shared->Lock->policiesGate(); });
}

void createDialogs(TForm1 &form, SettingsAndLock &shared) {
  shared.Target = std::make_unique<MainWindowTarget>(form);
  shared.Lock = std::make_unique<security::PasswordLock>(&form);
  shared.Form9 = std::make_unique<Lazy<settings::TForm9>>(
      [target = shared.Target.get(), &form] {
        return new settings::TForm9(*target, &form);
      });
  form.addBuilder([lock = shared.Lock.get(), form9 = shared.Form9.get()] {
    form9->get();
    lock->form5();
    lock->form6();
    lock->form7();
    lock->form8();
  });
}

} // namespace

void addSettingsAndLock(TForm1::Parts &parts) {
  auto shared = std::make_shared<SettingsAndLock>();
  parts.settings = std::make_unique<MainWindowSteps>(shared);
  parts.extensions.push_back(
      [shared](TForm1 &form) { addMenuItems(form, shared); });
  parts.dialogs.push_back(
      [shared](TForm1 &form) { createDialogs(form, *shared); });
}

} // namespace tf
