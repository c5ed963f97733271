#include "tweaks/common/image_list.h"

#include "platform/resources.h"

#include <array>

namespace tf {

namespace {

struct PictureSource {
  int index;
  const char *themeName; // freedesktop icon name; null when none fits
  const char *ownName;   // resources/pictures/<ownName>.png
};

constexpr std::array Sources{
    PictureSource{AppPicture, "tweakforge", "tweakforge"},
    PictureSource{ExitPicture, "application-exit", "exit"},
    PictureSource{HelpPicture, "help-browser", "help"},
    PictureSource{BitmapIconsPicture, "image-x-generic", "bitmap-icons"},
    PictureSource{LookPicture, "preferences-desktop-theme", "look"},
    PictureSource{FunctionalityPicture, "preferences-system", "functionality"},
    PictureSource{InformationPicture, "dialog-information", "information"},
    PictureSource{AnimationPicture, "video-x-generic", "animation"},
    PictureSource{MyComputerPicture, "computer", "my-computer"},
    PictureSource{SpeedPicture, "utilities-system-monitor", "speed"},
    PictureSource{RecycleBinPicture, "user-trash", "recycle-bin"},
    PictureSource{RenameRecycleBinPicture, nullptr, "rename-recycle-bin"},
    PictureSource{RemoveRecycleBinPicture, nullptr, "remove-recycle-bin"},
    PictureSource{BitmapNormalPicture, nullptr, "bitmap-normal"},
    PictureSource{BitmapAfterPicture, nullptr, "bitmap-after"},
    PictureSource{OtherPicture, "applications-other", "other"},
    PictureSource{ExplorerPoliciesPicture, "system-file-manager",
                  "explorer-policies"},
    PictureSource{PoliciesPicture, "security-high", "policies"},
    PictureSource{SystemPoliciesPicture, "preferences-desktop",
                  "system-policies"},
    PictureSource{NetworkPoliciesPicture, "network-workgroup",
                  "network-policies"},
    PictureSource{StartButtonPicture, "start-here", "start-button"},
    PictureSource{ToolbarButtonsPicture, nullptr, "toolbar-buttons"},
    PictureSource{ArrangeIconsPicture, nullptr, "arrange-icons"},
    PictureSource{WrapTextPicture, "format-justify-left", "wrap-text"},
};

const PictureSource *sourceOf(int index) {
  for (const PictureSource &source : Sources)
    if (source.index == index)
      return &source;
  return nullptr;
}

QIcon ownPicture(const char *name) {
  initResources();
  return QIcon(QStringLiteral(":/pictures/%1.png").arg(QLatin1String(name)));
}

QIcon load(const PictureSource &source) {
  const QIcon own = ownPicture(source.ownName);
  if (!source.themeName)
    return own;
  return QIcon::fromTheme(QLatin1String(source.themeName), own);
}

} // namespace

QIcon ImageList::icon(int index) const {
  // Loaded on first use: decoding every picture up front costs start-up
  // time for pictures of pages and dialogs that may never be opened.
  const auto found = Icons.find(index);
  if (found != Icons.end())
    return found->second;
  const PictureSource *source = sourceOf(index);
  const QIcon icon = source ? load(*source) : ownIcon(index);
  Icons.emplace(index, icon);
  return icon;
}

QIcon ImageList::ownIcon(int index) {
  const PictureSource *source = sourceOf(index);
  return ownPicture(source ? source->ownName : "tweakforge");
}

QIcon applicationIcon() { return load(*sourceOf(AppPicture)); }

} // namespace tf
