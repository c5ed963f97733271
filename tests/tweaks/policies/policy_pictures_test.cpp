#include "tweaks/common/image_list.h"

#include <QImage>

#include <gtest/gtest.h>

#include <vector>

namespace tf::test {
namespace {

QImage ownImage(int index) {
  return ImageList::ownIcon(index).pixmap(ImageList::Size).toImage();
}

// Pictures shown side by side must tell their items apart, also where the
// icon theme has none and the program's own pictures show.
void expectDistinctOwnPictures(const std::vector<int> &indexes) {
  const QImage generic = ownImage(AppPicture);
  for (std::size_t i = 0; i < indexes.size(); ++i) {
    SCOPED_TRACE(indexes[i]);
    const QImage image = ownImage(indexes[i]);
    EXPECT_FALSE(image.isNull());
    if (indexes[i] != AppPicture) {
      EXPECT_NE(image, generic);
    }
    for (std::size_t j = 0; j < i; ++j)
      EXPECT_NE(image, ownImage(indexes[j])) << "same as " << indexes[j];
  }
}

TEST(OwnPictures, PoliciesItemsDifferFromEachOther) {
  expectDistinctOwnPictures({ExplorerPoliciesPicture, SystemPoliciesPicture,
                             NetworkPoliciesPicture, StartButtonPicture});
}

TEST(OwnPictures, CategoriesDifferFromEachOther) {
  expectDistinctOwnPictures({LookPicture, FunctionalityPicture,
                             InformationPicture, SpeedPicture, OtherPicture,
                             PoliciesPicture});
}

TEST(OwnPictures, OptionsDialogPicturesDifferFromEachOther) {
  expectDistinctOwnPictures({MyComputerPicture, ToolbarButtonsPicture,
                             ArrangeIconsPicture, WrapTextPicture});
}

} // namespace
} // namespace tf::test
