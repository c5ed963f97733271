// The About page `GroupBox1`: the picture "TwkForge.bmp" and the scrolling
// credits on a black panel.
#pragma once

#include "tweaks/common/page.h"

class QLabel;

namespace tf {

class CreditsBanner;

class AboutPage : public Page {
  Q_OBJECT
public:
  explicit AboutPage(PageHost &host);

  // Loads "TwkForge.bmp" into `Image1`. Throws std::runtime_error with the
  // platform's text when the file cannot be opened or read.
  void loadPicture();
  bool hasPicture() const;

private:
  QLabel *Image1;
  CreditsBanner *Banner1;
};

} // namespace tf
