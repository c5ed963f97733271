// Check boxes and radio buttons whose captions wrap onto more lines when the
// button is narrower than its caption, so long captions stay readable in the
// fixed-size pages and dialogs whatever font the desktop uses.
#pragma once

#include <QCheckBox>
#include <QEvent>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QStylePainter>

#include <algorithm>

namespace tf {

namespace detail {

// The style's parts of each kind of button.
template <typename Button> struct ButtonParts;
template <> struct ButtonParts<QCheckBox> {
  static constexpr auto Indicator = QStyle::SE_CheckBoxIndicator;
  static constexpr auto Primitive = QStyle::PE_IndicatorCheckBox;
  static constexpr auto Spacing = QStyle::PM_CheckBoxLabelSpacing;
};
template <> struct ButtonParts<QRadioButton> {
  static constexpr auto Indicator = QStyle::SE_RadioButtonIndicator;
  static constexpr auto Primitive = QStyle::PE_IndicatorRadioButton;
  static constexpr auto Spacing = QStyle::PM_RadioButtonLabelSpacing;
};

} // namespace detail

template <typename Button> class WrappingButton : public Button {
public:
  WrappingButton(const QString &caption, QWidget *parent)
      : Button(caption, parent) {
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    this->setSizePolicy(policy);
  }

  QSize minimumSizeHint() const override {
    return {captionLeft() + MinimumCaptionWidth, Button::sizeHint().height()};
  }
  bool hasHeightForWidth() const override { return true; }
  int heightForWidth(int width) const override {
    // Layouts ask for the same widths many times over; wrapping the caption
    // is the costly part, so the last answer is kept.
    if (width != Cached.width || this->text() != Cached.text) {
      Cached = {width, this->text(),
                std::max(Button::sizeHint().height(),
                         captionRect(width).height() + 2)};
    }
    return Cached.height;
  }

protected:
  void changeEvent(QEvent *event) override {
    if (event->type() == QEvent::FontChange ||
        event->type() == QEvent::StyleChange)
      Cached = {};
    Button::changeEvent(event);
  }
  void paintEvent(QPaintEvent *) override {
    QStylePainter painter(this);
    QStyleOptionButton indicator = option();
    indicator.rect = indicatorRect();
    const QRect caption = captionRect(this->width());
    // The indicator stands beside the caption's first line.
    indicator.rect.moveTop(
        caption.top() +
        (this->fontMetrics().height() - indicator.rect.height()) / 2);
    painter.drawPrimitive(Parts::Primitive, indicator);
    painter.setPen(this->palette().color(this->isEnabled() ? QPalette::Active
                                                           : QPalette::Disabled,
                                         QPalette::WindowText));
    painter.drawText(caption, CaptionFlags, this->text());
    if (this->hasFocus()) {
      QStyleOptionFocusRect focus;
      focus.initFrom(this);
      focus.rect = caption.adjusted(-1, -1, 1, 1);
      painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
  }
  bool hitButton(const QPoint &position) const override {
    return this->rect().contains(position);
  }

private:
  using Parts = detail::ButtonParts<Button>;
  static constexpr int CaptionFlags =
      Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;
  // The narrowest caption column: about one word.
  static constexpr int MinimumCaptionWidth = 60;

  struct HeightForWidth {
    int width = -1;
    QString text;
    int height = 0;
  };
  mutable HeightForWidth Cached;

  QStyleOptionButton option() const {
    QStyleOptionButton result;
    this->initStyleOption(&result);
    return result;
  }
  QRect indicatorRect() const {
    const QStyleOptionButton button = option();
    return this->style()->subElementRect(Parts::Indicator, &button, this);
  }
  int captionLeft() const {
    return indicatorRect().right() + 1 +
           this->style()->pixelMetric(Parts::Spacing, nullptr, this);
  }
  QRect captionRect(int width) const {
    const int left = captionLeft();
    const int captionWidth = std::max(1, width - left - 2);
    const QRect bounds = this->fontMetrics().boundingRect(
        QRect(left, 1, captionWidth, 10000), CaptionFlags, this->text());
    return {left, 1, captionWidth, bounds.height()};
  }
};

using WrappingCheckBox = WrappingButton<QCheckBox>;
using WrappingRadioButton = WrappingButton<QRadioButton>;

} // namespace tf
