#include "app/about_page.h"

#include "app/credits_banner.h"
#include "platform/resources.h"

#include <QFile>
#include <QImageReader>
#include <QLabel>
#include <QVBoxLayout>

#include <stdexcept>

namespace tf {

namespace {

const char *const PictureFile = "TwkForge.bmp";

QStringList creditLines() {
  return {QStringLiteral("Tweakforge"),
          QStringLiteral("version " TF_VERSION),
          QString(),
          QStringLiteral("Made by"),
          QStringLiteral("the Tweakforge developers"),
          QString(),
          QStringLiteral("Built with"),
          QStringLiteral("Qt and GoogleTest"),
          QString(),
          QStringLiteral("Thanks to"),
          QStringLiteral("the Wine project"),
          QStringLiteral("for its registry"),
          QString(),
          QStringLiteral("Thank you for using"),
          QStringLiteral("Tweakforge!")};
}

QPixmap readPicture(const QString &path) {
  QFile file(path);
  if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
    throw std::runtime_error(std::string("Cannot open file ") + PictureFile);
  QImageReader reader(&file, "BMP");
  const QImage image = reader.read();
  if (image.isNull())
    throw std::runtime_error("Bitmap image is not valid");
  return QPixmap::fromImage(image);
}

} // namespace

AboutPage::AboutPage(PageHost &host)
    : Page(host, QStringLiteral("GroupBox1"),
           QStringLiteral("About Tweakforge")) {
  auto *Panel3 = new QWidget(this);
  Panel3->setObjectName(QStringLiteral("Panel3"));
  Panel3->setAutoFillBackground(true);
  QPalette black = Panel3->palette();
  black.setColor(QPalette::Window, Qt::black);
  Panel3->setPalette(black);

  Image1 = new QLabel(Panel3);
  Image1->setObjectName(QStringLiteral("Image1"));
  Image1->setAccessibleName(QStringLiteral("Tweakforge"));
  Image1->move(0, 0);
  Banner1 = new CreditsBanner(creditLines(), Panel3);
  Banner1->setGeometry(64, 168, 169, 129);

  // The panel fills the page; the picture and banner keep their places in
  // it, so the page must be at least as large as they need.
  Panel3->setMinimumSize(Banner1->geometry().right() + 8,
                         Banner1->geometry().bottom() + 8);
  auto *layout = new QVBoxLayout(this);
  layout->addWidget(Panel3);
}

void AboutPage::loadPicture() {
  const QPixmap picture = readPicture(findDataFile(QLatin1String(PictureFile)));
  Image1->setPixmap(picture);
  Image1->resize(picture.size());
}

bool AboutPage::hasPicture() const { return !Image1->pixmap().isNull(); }

} // namespace tf
