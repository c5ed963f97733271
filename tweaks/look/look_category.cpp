#include "tweaks/look/look_category.h"

#include "tweaks/common/category_host.h"
#include "tweaks/common/category_list.h"
#include "tweaks/common/image_list.h"
#include "tweaks/look/animation_page.h"
#include "tweaks/look/bitmap_icons_page.h"

#include <array>

namespace tf {

namespace {

constexpr std::array<CategoryItem, 6> LookItems{{
    {"Bitmap Icons", BitmapIconsPicture,
     "Make the bitmap icons look like an image of them selfs"},
    {"Animation", AnimationPicture, "Remove the Maximize/Minimize animation"},
    {"My computer icon", MyComputerPicture, "Chose icon for My computer"},
    {"Recycle Bin's Icon", RecycleBinPicture,
     "Change the icon for the Recycle Bin"},
    {"Rename Recycle Bin", RenameRecycleBinPicture, "Rename the Recycle Bin"},
    {"Remove Recycle Bin", RemoveRecycleBinPicture,
     "Remove Recycle Bin from the desktop"},
}};

// Positions 2 to 5 open the My Computer and Recycle Bin pages, which are not
// part of the program yet; their items stay out of the list until then.
constexpr int BuiltItems = 2;

} // namespace

void installLookCategory(CategoryHost &host) {
  auto *ListView3 =
      new CategoryList(QStringLiteral("ListView3"), LookItems, host.images());
  ListView3->setAccessibleName(QStringLiteral("Look tweaks"));
  for (int index = BuiltItems; index < int(LookItems.size()); ++index)
    ListView3->setItemAvailable(index, false);

  auto *GroupBox3 = new BitmapIconsPage(host, host.images());
  auto *GroupBox5 = new AnimationPage(host);
  host.addPage(GroupBox3);
  host.addPage(GroupBox5);

  // ListView3Click and ListView3DblClick.
  ListView3->setHintHandler(
      [&host](const QString &hint) { host.setHint(hint); });
  ListView3->setDispatch([GroupBox3, GroupBox5](int index) {
    switch (index) {
    case 0:
      GroupBox3->open();
      break;
    case 1:
      GroupBox5->open();
      break;
    }
  });
  host.addCategoryList(Category::Look, ListView3);

  // BitmapIcons1Click and Animation1Click.
  host.setAction(QStringLiteral("BitmapIcons1"),
                 [GroupBox3] { GroupBox3->open(); });
  host.setAction(QStringLiteral("Animation1"),
                 [GroupBox5] { GroupBox5->open(); });
}

} // namespace tf
