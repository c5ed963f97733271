// `Banner1`: credit lines scrolling upward, one pixel every 100 ms, white on
// black. After the last line has gone past the top it starts again from the
// bottom. It only moves while it is shown.
#pragma once

#include <QStringList>
#include <QTimer>
#include <QWidget>

namespace tf {

class CreditsBanner : public QWidget {
  Q_OBJECT
public:
  static constexpr int StepMilliseconds = 100;

  explicit CreditsBanner(const QStringList &lines, QWidget *parent = nullptr);

  // How far the text has moved up since it started at the bottom edge.
  int offset() const { return Offset; }
  // One step of the scroll (the timer's tick).
  void step();

protected:
  void paintEvent(QPaintEvent *event) override;
  void showEvent(QShowEvent *event) override;
  void hideEvent(QHideEvent *event) override;

private:
  int textHeight() const;

  QStringList Lines;
  QTimer Timer;
  int Offset = 0;
};

} // namespace tf
