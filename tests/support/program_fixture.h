// A test fixture that runs the whole program's main window on a temporary
// prefix with a fake desktop, and drives it as a user would.
#pragma once

#include "app/main_window.h"
#include "tests/support/fake_platform.h"
#include "tests/support/temp_prefix.h"

#include <QListWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace tf::test {

// Counts the quit requests that reach the application: the program ends
// the same way whether by "E&xit", the close box or a page's "C&ancel".
class QuitSpy : public QObject {
public:
  QuitSpy();
  ~QuitSpy() override;
  // Delivers posted events, then answers how many quits arrived.
  int quits();

protected:
  bool eventFilter(QObject *watched, QEvent *event) override;

private:
  int Quits = 0;
};

// Names the cases of a parameterised suite by their `name` member, so test
// names read "Suite/Test/CaseName".
inline constexpr auto CaseName = [](const auto &info) {
  return std::string(info.param.name);
};

class ProgramTest : public ::testing::Test {
protected:
  // Starts the program as the entry sequence does: the main window with
  // every part of the program, then shown. `extra` adds to its parts.
  void startProgram(TempPrefix::Content content = TempPrefix::Content::Empty,
                    std::function<void(TForm1 &)> extra = {});
  // The same up to, not including, showing the window.
  void createProgram(TempPrefix::Content content = TempPrefix::Content::Empty,
                     std::function<void(TForm1 &)> extra = {});
  // Ends the run as the entry sequence does after the loop: the window is
  // destroyed (FormDestroy).
  void destroyWindow() { Form.reset(); }

  TForm1 &form() const { return *Form; }
  TempPrefix &prefix() const { return *Prefix; }

  template <typename T = QWidget> T *find(const QString &name) const {
    T *widget = Form->findChild<T *>(name);
    EXPECT_TRUE(widget) << "no widget " << name.toStdString();
    return widget;
  }
  QAction *action(const QString &name) const;

  // The object names of the visible pages and category lists.
  QStringList visiblePages() const;
  QStringList visibleCategoryLists() const;

  // The user's gestures.
  void clickItem(QListWidget *list, int row);
  void doubleClickItem(QListWidget *list, int row);
  void doubleClickEmptyArea(QListWidget *list);
  void click(QWidget *widget);
  void moveMouseOver(QWidget *widget, QPoint at = {});
  void typeInto(QWidget *widget, const QString &text);

  ScopedFakePlatform Fake;

private:
  std::unique_ptr<TempPrefix> Prefix;
  std::unique_ptr<TForm1> Form;
};

} // namespace tf::test
