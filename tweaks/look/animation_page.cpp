#include "tweaks/look/animation_page.h"

#include "platform/platform.h"
#include "platform/widgets.h"
#include "tweaks/common/registry_key.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tf {

namespace {

// "Minanimate" = "0" (a string) turns the animation off; without the value
// it is on.
const char *const MetricsKey = "Control Panel\\Desktop\\WindowMetrics";
const char *const MinAnimate = "Minanimate";
const char *const Off = "0";

QLabel *wrappedLabel(const char *name, const QString &text, QWidget *parent) {
  auto *label = new QLabel(text, parent);
  label->setObjectName(QLatin1String(name));
  label->setWordWrap(true);
  return label;
}

} // namespace

AnimationPage::AnimationPage(PageHost &host)
    : Page(host, QStringLiteral("GroupBox5"),
           QStringLiteral("Remove Shrink and Grow animation")),
      ComboBox2(new EditableComboBox(
          {QStringLiteral("No Animation"), QStringLiteral("Animate")},
          QStringLiteral("Select Animation style"), this)) {
  QLabel *Label3 = wrappedLabel(
      "Label3",
      QStringLiteral("When you activate this option you will not see the "
                     "animation that occur when you minimize and maximize "
                     "windows. To turn it on just click on the Combo Box and "
                     "Select No Animation and click on the OK button."),
      this);
  QLabel *Label4 = wrappedLabel(
      "Label4",
      QStringLiteral("If you want it back just select Animate and then click "
                     "on the OK button."),
      this);
  Label3->setBuddy(ComboBox2);
  ComboBox2->setObjectName(QStringLiteral("ComboBox2"));
  ComboBox2->setAccessibleName(QStringLiteral("Animation style"));

  auto *layout = new QVBoxLayout(this);
  layout->addWidget(Label3);
  layout->addWidget(Label4);
  layout->addWidget(ComboBox2);
  connect(addOkCancel(QStringLiteral("OfficeButton5"),
                      QStringLiteral("OfficeButton6")),
          &QPushButton::clicked, this, &AnimationPage::OfficeButton5Click);
}

void AnimationPage::fill() {
  const std::string data =
      withKey(reg::HKEY_CURRENT_USER, MetricsKey, [](reg::TRegistry &registry) {
        return registry.ReadString(MinAnimate);
      });
  ComboBox2->setCurrentIndex(data == Off ? 0 : 1);
}

void AnimationPage::OfficeButton5Click() {
  const int style = ComboBox2->currentIndex();
  if (style < 0)
    return;
  withKey(reg::HKEY_CURRENT_USER, MetricsKey,
          [style](reg::TRegistry &registry) {
            if (style == 0)
              registry.WriteString(MinAnimate, Off);
            else
              registry.DeleteValue(MinAnimate);
          });
  informationMessage(this, QStringLiteral("You have to restart your computer "
                                          "to make the changes take effect"));
}

} // namespace tf
