#include "platform/widgets.h"

#include <QCheckBox>
#include <QEvent>
#include <QLineEdit>

namespace tf {

namespace {

class MouseMoveFilter : public QObject {
public:
  MouseMoveFilter(QWidget *widget, std::function<void()> handler)
      : QObject(widget), Handler(std::move(handler)) {}

  bool eventFilter(QObject *, QEvent *event) override {
    if (event->type() == QEvent::MouseMove)
      Handler();
    return false;
  }

private:
  std::function<void()> Handler;
};

template <typename Measure>
QSize largest(const QList<QLayoutItem *> &items, Measure measure) {
  QSize size(0, 0);
  for (QLayoutItem *item : items)
    if (QWidget *widget = item->widget())
      size = size.expandedTo(measure(*widget));
  return size;
}

} // namespace

void onMouseMove(QWidget *widget, std::function<void()> handler) {
  widget->setMouseTracking(true);
  widget->installEventFilter(new MouseMoveFilter(widget, std::move(handler)));
}

void onCheckChange(QCheckBox *box, std::function<void(bool)> handler) {
  QObject::connect(box, &QCheckBox::toggled, box, std::move(handler));
}

EditableComboBox::EditableComboBox(const QStringList &items,
                                   const QString &startText, QWidget *parent)
    : QComboBox(parent) {
  setEditable(true);
  setInsertPolicy(QComboBox::NoInsert);
  setCompleter(nullptr);
  addItems(items);
  // Qt would choose an item whose text the user typed once the field loses
  // the focus; here typing always leaves no item chosen.
  disconnect(lineEdit(), SIGNAL(editingFinished()), this, nullptr);
  connect(lineEdit(), &QLineEdit::textEdited, this,
          &EditableComboBox::userTyped);
  clearSelection(startText);
}

void EditableComboBox::clearSelection(const QString &text) {
  setCurrentIndex(-1);
  setEditText(text);
}

void EditableComboBox::userTyped() {
  if (currentIndex() == -1)
    return;
  const QString typed = lineEdit()->text();
  const int cursor = lineEdit()->cursorPosition();
  clearSelection(typed);
  lineEdit()->setCursorPosition(cursor);
}

OverlapLayout::OverlapLayout(QWidget *parent) : QLayout(parent) {
  setContentsMargins(0, 0, 0, 0);
}

OverlapLayout::~OverlapLayout() { qDeleteAll(Items); }

void OverlapLayout::addItem(QLayoutItem *item) { Items.append(item); }

int OverlapLayout::count() const { return int(Items.size()); }

QLayoutItem *OverlapLayout::itemAt(int index) const {
  return Items.value(index);
}

QLayoutItem *OverlapLayout::takeAt(int index) {
  if (index < 0 || index >= Items.size())
    return nullptr;
  return Items.takeAt(index);
}

QSize OverlapLayout::sizeHint() const {
  return largest(Items, [](const QWidget &widget) {
    return widget.sizeHint().expandedTo(widget.minimumSize());
  });
}

QSize OverlapLayout::minimumSize() const {
  return largest(Items, [](const QWidget &widget) {
    return widget.minimumSizeHint().expandedTo(widget.minimumSize());
  });
}

void OverlapLayout::setGeometry(const QRect &rect) {
  QLayout::setGeometry(rect);
  for (QLayoutItem *item : Items)
    if (QWidget *widget = item->widget())
      widget->setGeometry(rect);
}

} // namespace tf
