#include "tweaks/look/bitmap_icons_page.h"

#include "platform/platform.h"
#include "platform/widgets.h"
#include "tweaks/common/category_list.h"
#include "tweaks/common/image_list.h"
#include "tweaks/common/registry_key.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <array>

namespace tf {

namespace {

// The default value of this key is the icon of every bitmap file; "%1"
// makes the shell draw each file's content as its icon.
const char *const IconKey = "Paint.Picture\\DefaultIcon";
const char *const OwnContent = "%1";
// Paint's icon where the Windows 95 this program was made for installed it;
// the actual location of Paint is not looked up.
const char *const PaintIcon = "C:\\PROGRAM\\TILLBE~1\\MSPAINT.EXE,1";

constexpr std::array<CategoryItem, 2> Styles{{
    {"Normal", BitmapNormalPicture, "Select Normal Viewing Style"},
    {"After Changing", BitmapAfterPicture,
     "Select to View Bitmap icons to a picture of them self"},
}};

} // namespace

BitmapIconsPage::BitmapIconsPage(PageHost &host, const ImageList &images)
    : Page(host, QStringLiteral("GroupBox3"),
           QStringLiteral("View icons as bitmaps.")),
      ListView2(
          new CategoryList(QStringLiteral("ListView2"), Styles, images, this)),
      ComboBox1(new EditableComboBox(
          {QStringLiteral("Normal"), QStringLiteral("View as smal bitmaps")},
          QStringLiteral("Select Viewing Style!"), this)) {
  auto *Label2 = new QLabel(
      QStringLiteral("When you selects this option you can view the icon of "
                     "the bitmap as the actual bitmap itself."),
      this);
  Label2->setObjectName(QStringLiteral("Label2"));
  Label2->setWordWrap(true);
  Label2->setBuddy(ComboBox1);
  ListView2->setAccessibleName(QStringLiteral("Icon examples"));
  ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
  ComboBox1->setAccessibleName(QStringLiteral("Viewing style"));

  ListView2->setHintHandler(
      [this](const QString &hint) { this->host().setHint(hint); });
  // Double-clicking an example only chooses it; "O&K" writes it.
  ListView2->setDispatch(
      [this](int index) { ComboBox1->setCurrentIndex(index); });

  auto *layout = new QVBoxLayout(this);
  layout->addWidget(Label2);
  layout->addWidget(ListView2, 1);
  layout->addWidget(ComboBox1);
  connect(addOkCancel(QStringLiteral("OfficeButton1"),
                      QStringLiteral("OfficeButton2")),
          &QPushButton::clicked, this, &BitmapIconsPage::OfficeButton1Click);
}

void BitmapIconsPage::fill() {
  const std::string data =
      withKey(reg::HKEY_CLASSES_ROOT, IconKey,
              [](reg::TRegistry &registry) { return registry.ReadString(""); });
  ComboBox1->setCurrentIndex(data == OwnContent ? 1 : 0);
}

void BitmapIconsPage::OfficeButton1Click() {
  const int style = ComboBox1->currentIndex();
  if (style < 0)
    return;
  withKey(reg::HKEY_CLASSES_ROOT, IconKey, [style](reg::TRegistry &registry) {
    registry.WriteString("", style == 1 ? OwnContent : PaintIcon);
  });
  informationMessage(this, QStringLiteral("You have to restart your computer "
                                          "to make the changes take effect!"));
}

} // namespace tf
