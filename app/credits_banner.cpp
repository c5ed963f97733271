#include "app/credits_banner.h"

#include <QPainter>

namespace tf {

CreditsBanner::CreditsBanner(const QStringList &lines, QWidget *parent)
    : QWidget(parent), Lines(lines) {
  setObjectName(QStringLiteral("Banner1"));
  setAccessibleName(QStringLiteral("Credits"));
  setAccessibleDescription(lines.join(QLatin1Char('\n')));
  setAutoFillBackground(true);
  QPalette colours = palette();
  colours.setColor(QPalette::Window, Qt::black);
  colours.setColor(QPalette::WindowText, Qt::white);
  setPalette(colours);
  Timer.setInterval(StepMilliseconds);
  connect(&Timer, &QTimer::timeout, this, &CreditsBanner::step);
}

void CreditsBanner::step() {
  // Past the top: start again just below the bottom edge.
  Offset = Offset >= height() + textHeight() ? 0 : Offset + 1;
  update();
}

int CreditsBanner::textHeight() const {
  return int(Lines.size()) * fontMetrics().lineSpacing();
}

void CreditsBanner::paintEvent(QPaintEvent *) {
  QPainter painter(this);
  painter.setPen(palette().color(QPalette::WindowText));
  const int lineHeight = fontMetrics().lineSpacing();
  int top = height() - Offset;
  for (const QString &line : Lines) {
    painter.drawText(QRect(0, top, width(), lineHeight), Qt::AlignHCenter,
                     line);
    top += lineHeight;
  }
}

void CreditsBanner::showEvent(QShowEvent *) { Timer.start(); }

void CreditsBanner::hideEvent(QHideEvent *) { Timer.stop(); }

} // namespace tf
