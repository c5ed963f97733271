// ImageList1: the 32 x 32 pictures of every list view, the toolbar glyphs
// and the application icon. Each picture comes from the desktop's icon theme
// by its freedesktop name where one fits, else from the program's own
// pictures, so a list never shows a blank square.
#pragma once

#include <QIcon>

#include <map>

namespace tf {

// Picture indices. The category pictures keep the positions the category
// list refers to.
enum Picture : int {
  AppPicture = 0,
  ExitPicture = 1,
  HelpPicture = 2,
  BitmapIconsPicture = 3,
  LookPicture = 4,
  FunctionalityPicture = 5,
  InformationPicture = 6,
  AnimationPicture = 7,
  MyComputerPicture = 8,
  SpeedPicture = 9,
  RecycleBinPicture = 10,
  RenameRecycleBinPicture = 11,
  RemoveRecycleBinPicture = 12,
  BitmapNormalPicture = 13,
  BitmapAfterPicture = 14,
  OtherPicture = 18,
  ExplorerPoliciesPicture = 23,
  PoliciesPicture = 24,
  SystemPoliciesPicture = 25,
  NetworkPoliciesPicture = 26,
  StartButtonPicture = 27,
  // The Options dialog's pictures, outside the list views' range.
  ToolbarButtonsPicture = 100,
  ArrangeIconsPicture = 101,
  WrapTextPicture = 102,
};

class ImageList {
public:
  static constexpr int Size = 32;

  // The picture at `index`; the program's generic picture for an index that
  // has none.
  QIcon icon(int index) const;

  // The program's own picture for `index`, ignoring the icon theme.
  static QIcon ownIcon(int index);

private:
  mutable std::map<int, QIcon> Icons;
};

// The application icon: the theme's "tweakforge" if installed, else ours.
QIcon applicationIcon();

} // namespace tf
