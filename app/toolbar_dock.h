// Toolbar docks of one row (`Dock972`, `Dock973`). Each holds a toolbar the
// user can drag along the row by its grip, and behind it a filler panel on
// the empty part of the row.
#pragma once

#include <QFrame>

class QHBoxLayout;

namespace tf {

class DockToolbar : public QFrame {
  Q_OBJECT
public:
  DockToolbar(const QString &objectName, const QString &caption,
              QWidget *parent = nullptr);

  void addWidget(QWidget *widget);

  // The toolbar's place in its dock: its left edge, and the row (the docks
  // have one row, so only row 0 exists).
  int dockPos() const { return x(); }
  void setDockPos(int position);
  int dockRow() const { return 0; }
  void setDockRow(int row);

private:
  QHBoxLayout *Row;
};

class ToolbarDock : public QWidget {
  Q_OBJECT
public:
  static constexpr int DesignHeight = 26;

  ToolbarDock(const QString &objectName, DockToolbar *toolbar,
              const QString &panelName, QWidget *parent = nullptr);

  DockToolbar *toolbar() const { return Toolbar; }
  QFrame *panel() const { return Panel; }

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

protected:
  void resizeEvent(QResizeEvent *event) override;

private:
  DockToolbar *Toolbar;
  QFrame *Panel;
};

} // namespace tf
