// Renders the main window, with a chosen page and category list, or one of
// the program's dialogs, to a PNG on the offscreen platform, on a fresh
// temporary prefix:
//   tweakforge-screenshot <out.png> [page or dialog name]
//                         [category list, or tab:N for a dialog's tab]
// e.g. tweakforge-screenshot look.png GroupBox5 ListView3
//      tweakforge-screenshot options.png TForm9 tab:2
#include "app/application.h"
#include "app/main_window.h"
#include "app/program.h"
#include "platform/platform.h"
#include "registry/machine.h"
#include "tweaks/common/category_list.h"
#include "tweaks/common/page.h"

#include <QDialog>
#include <QPixmap>
#include <QTabBar>
#include <QTemporaryDir>

#include <cstdio>

namespace {

// Messages go to the console: nothing here may wait for a user.
class ConsolePlatform : public tf::Platform {
public:
  void beep() override {}
  void messageBox(QWidget *, tf::MessageIcon, const QString &caption,
                  const QString &text) override {
    std::fprintf(stderr, "[%s] %s\n", qPrintable(caption), qPrintable(text));
  }
  std::optional<QString> pickFile(QWidget *, tf::FilePicker) override {
    return std::nullopt;
  }
  void showHelpContents() override {}
  void showHelpContext(int) override {}
  void quitHelp() override {}
  bool openUrl(const QUrl &) override { return false; }
  int runModal(QDialog &) override { return QDialog::Rejected; }
};

QWidget *findTopLevel(const QString &name) {
  for (QWidget *widget : QApplication::topLevelWidgets())
    if (widget->objectName() == name)
      return widget;
  return nullptr;
}

// "tab:N" selects tab N of the tab strip in `target` (a dialog's tabs).
QWidget *selectTab(QWidget *target, const QString &index) {
  auto *tabs = target ? target->findChild<QTabBar *>() : nullptr;
  if (!tabs)
    return nullptr;
  tabs->setCurrentIndex(index.toInt());
  return target;
}

// Shows `name` in the main window (a page is opened as the program opens
// it, a category list is shown), returns the top-level dialog of that name,
// or selects a tab of the dialog chosen before (`current`).
QWidget *showTarget(tf::TForm1 &form, QWidget *current, const QString &name) {
  if (name.isEmpty())
    return &form;
  if (name.startsWith(QStringLiteral("tab:")))
    return selectTab(current, name.mid(4));
  if (auto *page = form.findChild<tf::Page *>(name)) {
    page->open();
    return &form;
  }
  if (auto *list = form.findChild<tf::CategoryList *>(name)) {
    form.ToolbarButton972Click();
    list->show();
    return &form;
  }
  return findTopLevel(name);
}

} // namespace

int main(int argc, char **argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  tf::Application application(argc, argv);
  if (argc < 2 || argc > 4) {
    std::fprintf(stderr, "usage: tweakforge-screenshot <out.png> "
                         "[page or dialog] [category list or tab:N]\n");
    return 2;
  }
  tf::installPlatform(std::make_unique<ConsolePlatform>());
  QTemporaryDir prefix;
  reg::Machine::setCurrent(reg::Machine::createSeeded(
      QDir(prefix.path()).filePath(QStringLiteral("prefix")).toStdString()));

  const std::unique_ptr<tf::TForm1> form = tf::createMainWindow();
  // Pages and dialogs are otherwise made on first use; here they are
  // looked up by name.
  form->buildAllParts();
  form->show();
  QWidget *target = form.get();
  tf::runHandler([&] {
    for (int index = 2; index < argc; ++index)
      target = showTarget(*form, target, QString::fromLocal8Bit(argv[index]));
  });
  if (!target) {
    std::fprintf(stderr, "nothing is called %s\n", argv[argc - 1]);
    return 1;
  }
  target->show();
  QApplication::processEvents();
  return target->grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
