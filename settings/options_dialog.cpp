#include "settings/options_dialog.h"

#include "platform/platform.h"
#include "registry/registry.h"
#include "settings/settings_key.h"
#include "settings/settings_steps.h"
#include "settings/settings_target.h"
#include "tweaks/common/image_list.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QStyle>
#include <QTabBar>
#include <QVBoxLayout>

#include <algorithm>

namespace tf::settings {

namespace {

enum Tab { SavingPosition, Position, ToolbarButtons, Icons, WrapText };

// "Reset Position" puts the main window back where it was designed.
constexpr int ResetLeft = 69;
constexpr int ResetTop = 6;

// The designed client area, the tab strip's share of it, and the strip
// below holding "O&K" and "C&ancel".
constexpr QSize DesignedSize(273, 170);
constexpr QSize DesignedTabArea(273, 121);
constexpr int ButtonStrip = DesignedSize.height() - DesignedTabArea.height();
constexpr int ButtonGap = 13;

// The pictures at the group boxes' upper right.
constexpr int PositionPicture = MyComputerPicture;
constexpr int ToolbarPicture = ToolbarButtonsPicture;
constexpr int IconsPicture = ArrangeIconsPicture;
constexpr int WrapPicture = WrapTextPicture;

} // namespace

TForm9::TForm9(SettingsTarget &target, QWidget *parent)
    : FixedDialog("TForm9", "Options", DesignedSize, 0, parent),
      Target(target) {
  fitTo(buildTabs());
  buildButtons();
  showTab(SavingPosition);
}

QWidget *TForm9::buildTabs() {
  auto *area = new QWidget(this);
  auto *column = new QVBoxLayout(area);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);

  TabControl1 = new QTabBar(area);
  TabControl1->setObjectName("TabControl1");
  TabControl1->setAccessibleName("Options");
  TabControl1->setExpanding(false);
  TabControl1->setUsesScrollButtons(true);
  for (const char *caption :
       {"Saving Position", "Position", "Toolbar Buttons", "Icons", "Wrap Text"})
    TabControl1->addTab(caption);
  column->addWidget(TabControl1);

  auto *tabPage = new QFrame(area);
  tabPage->setFrameShape(QFrame::StyledPanel);
  column->addWidget(tabPage, 1);
  auto *stack = new QGridLayout(tabPage);
  stack->setContentsMargins(6, 4, 6, 6);

  const ImageList images;
  GroupBox2 = addGroupBox("GroupBox2", images.icon(PositionPicture));
  RadioButton1 = addRadioButton(GroupBox2, "RadioButton1", "Save Position", 0);
  RadioButton2 =
      addRadioButton(GroupBox2, "RadioButton2", "Don't save Position", 1);
  CheckBox1 = addCheckBox(GroupBox2, "CheckBox1", "Reset Position", 0);
  CheckBox2 = addCheckBox(GroupBox2, "CheckBox2", "Center Position", 1);
  RadioButton1->setChecked(true);

  GroupBox1 = addGroupBox("GroupBox1", images.icon(ToolbarPicture));
  RadioButton4 = addRadioButton(GroupBox1, "RadioButton4", "Normal buttons", 0);
  RadioButton3 =
      addRadioButton(GroupBox1, "RadioButton3", "Flat toolbar buttons", 1);

  GroupBox3 = addGroupBox("GroupBox3", images.icon(IconsPicture));
  RadioButton5 =
      addRadioButton(GroupBox3, "RadioButton5", "Auto Arange icons", 0);
  RadioButton6 =
      addRadioButton(GroupBox3, "RadioButton6", "Default arangement", 1);
  RadioButton6->setChecked(true);

  GroupBox4 = addGroupBox("GroupBox4", images.icon(WrapPicture));
  RadioButton8 = addRadioButton(GroupBox4, "RadioButton8", "Wrap icon text", 0);
  RadioButton7 =
      addRadioButton(GroupBox4, "RadioButton7", "Do not wrap text", 1);

  for (QGroupBox *box : {GroupBox2, GroupBox1, GroupBox3, GroupBox4})
    stack->addWidget(box, 0, 0);

  connect(TabControl1, &QTabBar::currentChanged, this,
          &TForm9::TabControl1Change);
  connect(CheckBox1, &QCheckBox::toggled, this, [this](bool checked) {
    if (checked)
      CheckBox2->setChecked(false);
  });
  connect(CheckBox2, &QCheckBox::toggled, this, [this](bool checked) {
    if (checked)
      CheckBox1->setChecked(false);
  });
  // Keyboard users switch tabs as in any tabbed dialog.
  auto cycleTabs = [this](int step) {
    const int count = TabControl1->count();
    TabControl1->setCurrentIndex((TabControl1->currentIndex() + step + count) %
                                 count);
  };
  connect(new QShortcut(QKeySequence::NextChild, this), &QShortcut::activated,
          this, [cycleTabs] { cycleTabs(1); });
  connect(new QShortcut(QKeySequence::PreviousChild, this),
          &QShortcut::activated, this, [cycleTabs] { cycleTabs(-1); });
  return area;
}

// The designed size is too narrow for the five tab captions in the usual
// desktop fonts: the dialog grows until every caption and every option fits,
// so no tab hides behind scroll arrows.
void TForm9::fitTo(QWidget *tabArea) {
  const QSize needed = tabArea->layout()->minimumSize().expandedTo(
      {TabControl1->sizeHint().width(), DesignedTabArea.height()});
  const QSize area = needed.expandedTo(DesignedTabArea);
  tabArea->setGeometry(QRect({0, 0}, area));
  setFixedSize(area.width(), area.height() + ButtonStrip);
}

void TForm9::buildButtons() {
  OfficeButton1 = addButton("OfficeButton1", "O&K");
  OfficeButton2 = addButton("OfficeButton2", "C&ancel");
  // Both buttons keep their designed distance from the lower right corner.
  const int top = height() - ButtonStrip + ButtonGap;
  OfficeButton1->move(width() - 161, top);
  OfficeButton2->move(width() - 81, top);
  OfficeButton1->setDefault(true);
  connect(OfficeButton1, &QPushButton::clicked, this,
          &TForm9::OfficeButton1Click);
  connect(OfficeButton2, &QPushButton::clicked, this,
          &TForm9::OfficeButton2Click);
}

QGroupBox *TForm9::addGroupBox(const char *name, const QIcon &picture) {
  auto *box = new QGroupBox("Options:");
  box->setObjectName(name);
  auto *grid = new QGridLayout(box);
  auto *image = new QLabel(box);
  image->setPixmap(picture.pixmap(ImageList::Size));
  image->setFixedSize(32, 32);
  grid->addWidget(image, 0, 1, 2, 1, Qt::AlignRight | Qt::AlignTop);
  grid->setColumnStretch(0, 1);
  return box;
}

QRadioButton *TForm9::addRadioButton(QGroupBox *box, const char *name,
                                     const QString &caption, int row) {
  auto *button = new QRadioButton(caption, box);
  button->setObjectName(name);
  static_cast<QGridLayout *>(box->layout())
      ->addWidget(button, row, 0, Qt::AlignLeft);
  return button;
}

// The two check boxes sit where the two radio buttons sit; the tab decides
// which pair shows.
QCheckBox *TForm9::addCheckBox(QGroupBox *box, const char *name,
                               const QString &caption, int row) {
  auto *check = new QCheckBox(caption, box);
  check->setObjectName(name);
  static_cast<QGridLayout *>(box->layout())
      ->addWidget(check, row, 0, Qt::AlignLeft);
  return check;
}

void TForm9::presetFrom(reg::TRegistry &key) {
  (isYes(key, "Auto") ? RadioButton5 : RadioButton6)->setChecked(true);
  (isYes(key, "Save") ? RadioButton1 : RadioButton2)->setChecked(true);
  (isNo(key, "Wrap") ? RadioButton7 : RadioButton8)->setChecked(true);
  (isYes(key, "Nice") ? RadioButton3 : RadioButton4)->setChecked(true);
}

void TForm9::TabControl1Change() { showTab(TabControl1->currentIndex()); }

void TForm9::showTab(int index) {
  GroupBox2->setVisible(index == SavingPosition || index == Position);
  RadioButton1->setVisible(index == SavingPosition);
  RadioButton2->setVisible(index == SavingPosition);
  CheckBox1->setVisible(index == Position);
  CheckBox2->setVisible(index == Position);
  GroupBox1->setVisible(index == ToolbarButtons);
  RadioButton4->setVisible(index == ToolbarButtons);
  RadioButton3->setVisible(index == ToolbarButtons);
  GroupBox3->setVisible(index == Icons);
  GroupBox4->setVisible(index == WrapText);
}

void TForm9::OfficeButton1Click() {
  withSettingsKey([this](reg::TRegistry &key) {
    writeYesNo(key, "Wrap", RadioButton8->isChecked());
    writeYesNo(key, "Nice", RadioButton3->isChecked());
    writeYesNo(key, "Save", RadioButton1->isChecked());
    writeYesNo(key, "Auto", RadioButton5->isChecked());
    if (CheckBox1->isChecked()) {
      key.WriteInteger("Left", ResetLeft);
      key.WriteInteger("Top", ResetTop);
    }
  });
  placeMainWindow();
  closeAndReset(Accepted);
}

void TForm9::placeMainWindow() {
  if (CheckBox1->isChecked()) {
    Target.setWindowTop(ResetTop);
    Target.setWindowLeft(ResetLeft);
  } else if (CheckBox2->isChecked()) {
    centreMainWindow();
  }
}

// Centres by moving the window, not by re-creating it, so the first-showing
// steps and the start-up password prompt do not run again.
void TForm9::centreMainWindow() {
  const QRect screen = Target.screenGeometry();
  const QRect frame = Target.windowFrame();
  Target.setWindowLeft(screen.left() +
                       std::max(0, (screen.width() - frame.width()) / 2));
  Target.setWindowTop(screen.top() +
                      std::max(0, (screen.height() - frame.height()) / 2));
  Target.refreshCategoryLists();
}

void TForm9::OfficeButton2Click() { closeAndReset(Rejected); }

void TForm9::closeAndReset(int result) {
  CheckBox1->setChecked(false);
  CheckBox2->setChecked(false);
  closeWith(result);
  const QSignalBlocker quiet(TabControl1);
  TabControl1->setCurrentIndex(SavingPosition);
  showTab(SavingPosition);
}

void ResetPosition1Click(TForm9 &dialog, SettingsTarget &target) {
  withSettingsKey([&dialog](reg::TRegistry &key) { dialog.presetFrom(key); });
  platform().runModal(dialog);
  OfficeButton67Click(target);
  target.refreshCategoryLists();
}

} // namespace tf::settings
