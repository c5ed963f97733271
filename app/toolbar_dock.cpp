#include "app/toolbar_dock.h"

#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace tf {

namespace {

// The handle at a toolbar's left end: dragging it moves the toolbar along
// its dock.
class DockGrip : public QWidget {
public:
  explicit DockGrip(DockToolbar *toolbar) : QWidget(toolbar), Toolbar(toolbar) {
    setFixedWidth(8);
    setCursor(Qt::SizeHorCursor);
  }

protected:
  void paintEvent(QPaintEvent *) override {
    QPainter painter(this);
    const QColor light = palette().color(QPalette::Light);
    const QColor dark = palette().color(QPalette::Dark);
    for (int x : {2, 5}) {
      painter.setPen(light);
      painter.drawLine(x, 3, x, height() - 4);
      painter.setPen(dark);
      painter.drawLine(x + 1, 3, x + 1, height() - 4);
    }
  }

  void mousePressEvent(QMouseEvent *event) override {
    GrabOffset = event->position().toPoint().x();
  }

  void mouseMoveEvent(QMouseEvent *event) override {
    if (event->buttons() & Qt::LeftButton)
      Toolbar->setDockPos(Toolbar->x() + event->position().toPoint().x() -
                          GrabOffset);
  }

private:
  DockToolbar *Toolbar;
  int GrabOffset = 0;
};

} // namespace

DockToolbar::DockToolbar(const QString &objectName, const QString &caption,
                         QWidget *parent)
    : QFrame(parent), Row(new QHBoxLayout(this)) {
  setObjectName(objectName);
  setWindowTitle(caption);
  setAccessibleName(caption);
  setFrameStyle(QFrame::Panel | QFrame::Raised);
  setAutoFillBackground(true);
  Row->setContentsMargins(1, 1, 2, 1);
  Row->setSpacing(0);
  Row->addWidget(new DockGrip(this));
}

void DockToolbar::addWidget(QWidget *widget) { Row->addWidget(widget); }

void DockToolbar::setDockPos(int position) {
  const int room = parentWidget() ? parentWidget()->width() - width() : 0;
  move(std::clamp(position, 0, std::max(room, 0)), 0);
}

void DockToolbar::setDockRow(int row) { Q_ASSERT(row == 0); }

ToolbarDock::ToolbarDock(const QString &objectName, DockToolbar *toolbar,
                         const QString &panelName, QWidget *parent)
    : QWidget(parent), Toolbar(toolbar), Panel(new QFrame(this)) {
  setObjectName(objectName);
  Panel->setObjectName(panelName);
  Toolbar->setParent(this);
  Toolbar->raise();
  setMinimumHeight(sizeHint().height());
}

QSize ToolbarDock::sizeHint() const {
  const QSize toolbar = Toolbar->sizeHint();
  return {toolbar.width(), std::max(DesignHeight, toolbar.height())};
}

QSize ToolbarDock::minimumSizeHint() const { return sizeHint(); }

void ToolbarDock::resizeEvent(QResizeEvent *) {
  Toolbar->resize(Toolbar->sizeHint().width(), height());
  Panel->resize(Panel->width(), height());
  Toolbar->setDockPos(Toolbar->dockPos());
}

} // namespace tf
