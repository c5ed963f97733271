#include "tests/support/program_fixture.h"

#include "app/program.h"
#include "tweaks/common/category_list.h"
#include "tweaks/common/page.h"

#include <QAction>
#include <QApplication>
#include <QMenu>

namespace tf::test {

QuitSpy::QuitSpy() { QCoreApplication::instance()->installEventFilter(this); }

QuitSpy::~QuitSpy() { QCoreApplication::instance()->removeEventFilter(this); }

int QuitSpy::quits() {
  QCoreApplication::sendPostedEvents();
  return Quits;
}

bool QuitSpy::eventFilter(QObject *watched, QEvent *event) {
  if (watched == QCoreApplication::instance() &&
      event->type() == QEvent::Quit) {
    ++Quits;
    return true; // no loop runs in the tests; nothing else to end
  }
  return false;
}

void ProgramTest::createProgram(TempPrefix::Content content,
                                std::function<void(TForm1 &)> extra) {
  Prefix = std::make_unique<TempPrefix>(content);
  Form = createMainWindow(std::move(extra));
}

void ProgramTest::startProgram(TempPrefix::Content content,
                               std::function<void(TForm1 &)> extra) {
  createProgram(content, std::move(extra));
  Form->show();
  Form->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(Form.get()));
}

QAction *ProgramTest::action(const QString &name) const {
  auto *found = Form->findChild<QAction *>(name);
  EXPECT_TRUE(found) << "no menu item " << name.toStdString();
  return found;
}

namespace {

template <typename T> QStringList visibleNames(const TForm1 &form) {
  QStringList names;
  for (T *widget : form.findChildren<T *>())
    if (widget->isVisible())
      names << widget->objectName();
  names.sort();
  return names;
}

} // namespace

QStringList ProgramTest::visiblePages() const {
  return visibleNames<Page>(*Form);
}

QStringList ProgramTest::visibleCategoryLists() const {
  QStringList names = visibleNames<CategoryList>(*Form);
  // ListView1 is always there, and lists on pages are no category lists.
  names.removeAll(QStringLiteral("ListView1"));
  names.removeAll(QStringLiteral("ListView2"));
  return names;
}

void ProgramTest::clickItem(QListWidget *list, int row) {
  const QRect rect = list->visualItemRect(list->item(row));
  ASSERT_FALSE(rect.isEmpty()) << "item " << row << " is not shown";
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
}

void ProgramTest::doubleClickItem(QListWidget *list, int row) {
  const QRect rect = list->visualItemRect(list->item(row));
  ASSERT_FALSE(rect.isEmpty()) << "item " << row << " is not shown";
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rect.center());
}

void ProgramTest::doubleClickEmptyArea(QListWidget *list) {
  const QPoint corner(list->viewport()->width() - 2,
                      list->viewport()->height() - 2);
  ASSERT_FALSE(list->indexAt(corner).isValid());
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, corner);
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, corner);
}

void ProgramTest::click(QWidget *widget) {
  ASSERT_TRUE(widget->isVisible())
      << widget->objectName().toStdString() << " is not shown";
  QTest::mouseClick(widget, Qt::LeftButton);
}

void ProgramTest::moveMouseOver(QWidget *widget, QPoint at) {
  QTest::mouseMove(widget, at.isNull() ? widget->rect().center() : at);
  QCoreApplication::processEvents();
}

void ProgramTest::typeInto(QWidget *widget, const QString &text) {
  widget->setFocus();
  QTest::keyClicks(widget, text);
}

} // namespace tf::test
