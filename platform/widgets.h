// Toolkit behaviours the pages rely on, on top of Qt's widgets.
#pragma once

#include <QComboBox>
#include <QLayout>

#include <functional>

class QAbstractButton;
class QCheckBox;

namespace tf {

// Runs `handler` whenever the mouse moves over `widget`, button held or not
// (the status hints). Turns mouse tracking on for the widget.
void onMouseMove(QWidget *widget, std::function<void()> handler);

// Runs `handler` on every change of the box's state, by the user or from
// code; setting the box to the state it already has runs nothing. This is
// QCheckBox::toggled, named here so every page pairs boxes the same way.
void onCheckChange(QCheckBox *box, std::function<void(bool checked)> handler);

// A drop-down combo box with an editable text field. Its selection
// (currentIndex) is the chosen item, 0 to n-1, or -1 when none is: at start
// and as soon as the user types into the field, which keeps the typed text.
// Typing an item's exact text does not choose that item.
class EditableComboBox : public QComboBox {
  Q_OBJECT
public:
  EditableComboBox(const QStringList &items, const QString &startText,
                   QWidget *parent = nullptr);

  // No item chosen, `text` in the field.
  void clearSelection(const QString &text);

private:
  void userTyped();
};

// Places every widget it holds on the same rectangle, whether shown or not,
// so shown and hidden pages share one place and the place does not change
// size when another one is shown. Its size hints are the largest of all.
class OverlapLayout : public QLayout {
  Q_OBJECT
public:
  explicit OverlapLayout(QWidget *parent = nullptr);
  ~OverlapLayout() override;

  void addItem(QLayoutItem *item) override;
  int count() const override;
  QLayoutItem *itemAt(int index) const override;
  QLayoutItem *takeAt(int index) override;
  QSize sizeHint() const override;
  QSize minimumSize() const override;
  void setGeometry(const QRect &rect) override;

private:
  QList<QLayoutItem *> Items;
};

} // namespace tf
