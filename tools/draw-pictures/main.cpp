// Draws the program's own pictures: the fallback icons of ImageList1, the
// application icon and the About picture "TwkForge.bmp". Run it once after
// changing a drawing and commit what it writes:
//   tweakforge-draw-pictures <resources directory>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <functional>
#include <vector>

namespace {

// Every icon is drawn on a 32 x 32 grid and scaled to the size asked for.
using Drawing = std::function<void(QPainter &)>;

const QColor Ink(40, 40, 48);

void outlined(QPainter &p, const QColor &fill) {
  p.setPen(QPen(Ink, 1.2));
  p.setBrush(fill);
}

void monitor(QPainter &p, const QColor &screen) {
  outlined(p, QColor(200, 200, 205));
  p.drawRoundedRect(QRectF(3, 4, 26, 19), 2, 2);
  p.setBrush(screen);
  p.drawRect(QRectF(6, 7, 20, 13));
  outlined(p, QColor(170, 170, 178));
  p.drawRect(QRectF(12, 23, 8, 3));
  p.drawRoundedRect(QRectF(7, 26, 18, 3), 1, 1);
}

void bin(QPainter &p) {
  outlined(p, QColor(120, 170, 120));
  QPainterPath body;
  body.moveTo(8, 9);
  body.lineTo(24, 9);
  body.lineTo(22, 29);
  body.lineTo(10, 29);
  body.closeSubpath();
  p.drawPath(body);
  p.drawRoundedRect(QRectF(6, 6, 20, 3), 1, 1);
  p.drawLine(QPointF(13, 12), QPointF(13.5, 26));
  p.drawLine(QPointF(19, 12), QPointF(18.5, 26));
}

void landscape(QPainter &p, const QRectF &frame) {
  outlined(p, QColor(150, 200, 250));
  p.drawRect(frame);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(250, 210, 60));
  p.drawEllipse(QPointF(frame.right() - 6, frame.top() + 6), 3, 3);
  p.setBrush(QColor(60, 150, 70));
  QPainterPath hills;
  hills.moveTo(frame.left(), frame.bottom());
  hills.lineTo(frame.left() + frame.width() * 0.35,
               frame.top() + frame.height() * 0.45);
  hills.lineTo(frame.left() + frame.width() * 0.6,
               frame.top() + frame.height() * 0.7);
  hills.lineTo(frame.left() + frame.width() * 0.8,
               frame.top() + frame.height() * 0.5);
  hills.lineTo(frame.right(), frame.bottom());
  hills.closeSubpath();
  p.drawPath(hills);
}

void letter(QPainter &p, const QRectF &area, const QString &text,
            const QColor &color, int pixelSize) {
  QFont font(QStringLiteral("DejaVu Serif"));
  font.setPixelSize(pixelSize);
  font.setBold(true);
  p.setFont(font);
  p.setPen(color);
  p.drawText(area, Qt::AlignCenter, text);
}

void badge(QPainter &p, const QColor &color, const QString &text) {
  outlined(p, color);
  p.drawEllipse(QRectF(3, 3, 26, 26));
  letter(p, QRectF(3, 3, 26, 26), text, Qt::white, 20);
}

void redCross(QPainter &p) {
  p.setPen(QPen(QColor(210, 30, 30), 3, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(18, 18), QPointF(29, 29));
  p.drawLine(QPointF(29, 18), QPointF(18, 29));
}

void wrench(QPainter &p, const QColor &color) {
  p.save();
  p.translate(16, 16);
  p.rotate(45);
  outlined(p, color);
  p.drawRoundedRect(QRectF(-2.5, -4, 5, 17), 2, 2);
  QPainterPath head;
  head.addEllipse(QPointF(0, -8), 6.5, 6.5);
  QPainterPath jaw;
  jaw.addRect(QRectF(-2.5, -16, 5, 8));
  p.drawPath(head.subtracted(jaw));
  p.restore();
}

void gear(QPainter &p) {
  p.save();
  p.translate(16, 16);
  outlined(p, QColor(150, 160, 175));
  QPainterPath teeth;
  for (int i = 0; i < 8; ++i) {
    QTransform turn;
    turn.rotate(i * 45);
    QPainterPath tooth;
    tooth.addRect(QRectF(-2.5, -14, 5, 6));
    teeth.addPath(turn.map(tooth));
  }
  QPainterPath wheel;
  wheel.addEllipse(QPointF(0, 0), 10, 10);
  QPainterPath hole;
  hole.addEllipse(QPointF(0, 0), 4, 4);
  p.drawPath(wheel.united(teeth).subtracted(hole));
  p.restore();
}

// A small padlock at the lower right: the picture stands for a restriction.
void padlock(QPainter &p) {
  outlined(p, QColor(250, 210, 40));
  p.drawRoundedRect(QRectF(20, 21, 10, 9), 1, 1);
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRectF(21.5, 15, 7, 11), 0, 180 * 16);
}

void folder(QPainter &p) {
  outlined(p, QColor(240, 200, 90));
  p.drawRect(QRectF(2, 6, 12, 4));
  p.drawRect(QRectF(2, 9, 28, 19));
}

// A terminal window with a prompt.
void prompt(QPainter &p, const QRectF &frame) {
  outlined(p, QColor(20, 20, 20));
  p.drawRect(frame);
  QFont font(QStringLiteral("DejaVu Sans Mono"));
  font.setPixelSize(7);
  font.setBold(true);
  p.setFont(font);
  p.setPen(QColor(210, 210, 210));
  p.drawText(frame.adjusted(2, 1, 0, 0), Qt::AlignLeft | Qt::AlignTop,
             QStringLiteral("C:\\>"));
}

// Lines of text, the last ones bent back to the left margin.
void textLines(QPainter &p, int count, qreal right) {
  p.setPen(QPen(Ink, 2, Qt::SolidLine, Qt::RoundCap));
  for (int i = 0; i < count; ++i)
    p.drawLine(QPointF(4, 6 + i * 6),
               QPointF(i == count - 1 ? 16 : right, 6 + i * 6));
}

const std::vector<std::pair<const char *, Drawing>> &icons() {
  static const std::vector<std::pair<const char *, Drawing>> list{
      {"tweakforge",
       [](QPainter &p) {
         QLinearGradient sky(0, 0, 0, 32);
         sky.setColorAt(0, QColor(0, 0, 0));
         sky.setColorAt(1, QColor(0, 0, 160));
         p.setPen(QPen(Ink, 1.2));
         p.setBrush(sky);
         p.drawRoundedRect(QRectF(1, 1, 30, 30), 5, 5);
         wrench(p, QColor(230, 230, 235));
       }},
      {"exit",
       [](QPainter &p) {
         outlined(p, QColor(160, 110, 60));
         p.drawRect(QRectF(6, 3, 14, 26));
         p.setBrush(QColor(60, 40, 20));
         p.drawEllipse(QPointF(17, 16), 1.2, 1.2);
         p.setPen(QPen(QColor(200, 30, 30), 3, Qt::SolidLine, Qt::RoundCap));
         p.drawLine(QPointF(18, 16), QPointF(29, 16));
         p.drawLine(QPointF(24, 11), QPointF(29, 16));
         p.drawLine(QPointF(24, 21), QPointF(29, 16));
       }},
      {"help", [](QPainter &p) { badge(p, QColor(40, 110, 200), "?"); }},
      {"information", [](QPainter &p) { badge(p, QColor(30, 140, 200), "i"); }},
      {"bitmap-icons",
       [](QPainter &p) {
         landscape(p, QRectF(2, 6, 18, 14));
         landscape(p, QRectF(12, 14, 18, 14));
       }},
      {"bitmap-normal",
       [](QPainter &p) {
         outlined(p, Qt::white);
         p.drawRect(QRectF(6, 2, 20, 28));
         const QColor dots[] = {QColor(220, 40, 40), QColor(40, 160, 60),
                                QColor(40, 80, 220), QColor(240, 200, 40)};
         for (int i = 0; i < 4; ++i) {
           p.setBrush(dots[i]);
           p.drawEllipse(QPointF(11 + (i % 2) * 10, 11 + (i / 2) * 10), 3.5,
                         3.5);
         }
       }},
      {"bitmap-after", [](QPainter &p) { landscape(p, QRectF(3, 5, 26, 22)); }},
      {"look",
       [](QPainter &p) {
         monitor(p, QColor(0, 128, 128));
         p.setPen(Qt::NoPen);
         p.setBrush(QColor(250, 250, 250));
         p.drawRect(QRectF(9, 9, 11, 8));
         p.setBrush(QColor(0, 0, 160));
         p.drawRect(QRectF(9, 9, 11, 2));
       }},
      {"functionality", [](QPainter &p) { gear(p); }},
      {"animation",
       [](QPainter &p) {
         p.setPen(QPen(Ink, 1));
         for (int i = 0; i < 3; ++i) {
           p.setBrush(QColor(250 - i * 40, 250 - i * 40, 255));
           const qreal inset = i * 4;
           p.drawRect(
               QRectF(2 + inset, 2 + inset, 28 - 2 * inset, 28 - 2 * inset));
         }
         p.setBrush(QColor(0, 0, 160));
         p.drawRect(QRectF(10, 10, 12, 3));
       }},
      {"my-computer", [](QPainter &p) { monitor(p, QColor(0, 128, 128)); }},
      {"speed",
       [](QPainter &p) {
         outlined(p, QColor(250, 210, 40));
         QPainterPath bolt;
         bolt.moveTo(19, 1);
         bolt.lineTo(6, 18);
         bolt.lineTo(15, 18);
         bolt.lineTo(12, 31);
         bolt.lineTo(26, 12);
         bolt.lineTo(17, 12);
         bolt.closeSubpath();
         p.drawPath(bolt);
       }},
      {"recycle-bin", [](QPainter &p) { bin(p); }},
      {"rename-recycle-bin",
       [](QPainter &p) {
         bin(p);
         outlined(p, Qt::white);
         p.drawRect(QRectF(14, 18, 17, 12));
         letter(p, QRectF(14, 18, 17, 12), "ab", Ink, 10);
       }},
      {"remove-recycle-bin",
       [](QPainter &p) {
         bin(p);
         redCross(p);
       }},
      {"other", [](QPainter &p) { folder(p); }},
      {"explorer-policies",
       [](QPainter &p) {
         folder(p);
         padlock(p);
       }},
      {"system-policies",
       [](QPainter &p) {
         outlined(p, QColor(200, 200, 205));
         p.drawRect(QRectF(2, 3, 26, 24));
         p.setBrush(QColor(0, 0, 160));
         p.drawRect(QRectF(2, 3, 26, 5));
         for (int i = 0; i < 3; ++i) {
           p.setPen(QPen(Ink, 1.5));
           p.drawLine(QPointF(6, 12 + i * 5), QPointF(22, 12 + i * 5));
           outlined(p, QColor(120, 120, 130));
           p.drawRect(QRectF(8 + i * 5, 10 + i * 5, 3, 4));
         }
         padlock(p);
       }},
      {"network-policies",
       [](QPainter &p) {
         p.setPen(QPen(Ink, 1.5));
         p.drawLine(QPointF(8, 20), QPointF(8, 24));
         p.drawLine(QPointF(8, 24), QPointF(20, 24));
         prompt(p, QRectF(2, 3, 22, 16));
         outlined(p, QColor(0, 128, 128));
         p.drawRect(QRectF(2, 24, 8, 6));
         padlock(p);
       }},
      {"start-button",
       [](QPainter &p) {
         outlined(p, QColor(200, 200, 205));
         p.drawRect(QRectF(1, 8, 30, 14));
         const QColor panes[] = {QColor(220, 40, 40), QColor(40, 160, 60),
                                 QColor(40, 80, 220), QColor(240, 200, 40)};
         p.setPen(Qt::NoPen);
         for (int i = 0; i < 4; ++i) {
           p.setBrush(panes[i]);
           p.drawRect(QRectF(4 + (i % 2) * 5, 10 + (i / 2) * 5, 4, 4));
         }
         letter(p, QRectF(14, 8, 17, 14), "St", Ink, 9);
         redCross(p);
       }},
      {"toolbar-buttons",
       [](QPainter &p) {
         outlined(p, QColor(200, 200, 205));
         p.drawRect(QRectF(1, 9, 30, 14));
         outlined(p, QColor(235, 235, 240));
         for (int i = 0; i < 3; ++i)
           p.drawRect(QRectF(3 + i * 9, 11, 8, 10));
         letter(p, QRectF(3, 11, 8, 10), "W", QColor(200, 30, 30), 8);
         letter(p, QRectF(12, 11, 8, 10), "E", QColor(150, 30, 150), 8);
         letter(p, QRectF(21, 11, 8, 10), "A", Ink, 8);
       }},
      {"arrange-icons",
       [](QPainter &p) {
         const QColor tiles[] = {QColor(0, 128, 128), QColor(240, 200, 90),
                                 QColor(60, 120, 200), QColor(120, 170, 120)};
         for (int i = 0; i < 4; ++i) {
           outlined(p, tiles[i]);
           p.drawRoundedRect(QRectF(4 + (i % 2) * 14, 3 + (i / 2) * 14, 10, 8),
                             1, 1);
           p.setPen(QPen(Ink, 1.5));
           p.drawLine(QPointF(4 + (i % 2) * 14, 13 + (i / 2) * 14),
                      QPointF(14 + (i % 2) * 14, 13 + (i / 2) * 14));
         }
       }},
      {"wrap-text",
       [](QPainter &p) {
         outlined(p, Qt::white);
         p.drawRect(QRectF(1, 1, 30, 30));
         textLines(p, 4, 24);
         p.setPen(QPen(QColor(30, 110, 200), 2, Qt::SolidLine, Qt::RoundCap));
         p.setBrush(Qt::NoBrush);
         QPainterPath hook;
         hook.moveTo(24, 13);
         hook.cubicTo(30, 13, 30, 24, 20, 24);
         p.drawPath(hook);
         p.drawLine(QPointF(20, 24), QPointF(23, 21));
         p.drawLine(QPointF(20, 24), QPointF(23, 27));
       }},
      {"policies",
       [](QPainter &p) {
         outlined(p, QColor(60, 120, 200));
         QPainterPath shield;
         shield.moveTo(16, 2);
         shield.lineTo(28, 6);
         shield.cubicTo(28, 18, 22, 26, 16, 30);
         shield.cubicTo(10, 26, 4, 18, 4, 6);
         shield.closeSubpath();
         p.drawPath(shield);
         outlined(p, QColor(250, 210, 40));
         p.drawRect(QRectF(11, 14, 10, 8));
         p.setBrush(Qt::NoBrush);
         p.drawArc(QRectF(12.5, 8, 7, 10), 0, 180 * 16);
       }},
  };
  return list;
}

QImage drawIcon(const Drawing &draw, int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 32.0, size / 32.0);
  draw(p);
  return image;
}

// The About picture: the program's name over the caption-bar gradient, the
// application icon and one line on what it does. It sits at the top left of
// the About page's black panel, above the scrolling credits.
QImage drawAboutPicture() {
  QImage image(232, 160, QImage::Format_RGB32);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient gradient(0, 0, image.width(), 0);
  gradient.setColorAt(0, QColor(0, 0, 0));
  gradient.setColorAt(1, QColor(0, 0, 160));
  p.fillRect(image.rect(), gradient);
  p.drawImage(QPointF(12, 24), drawIcon(icons().front().second, 56));
  QFont title(QStringLiteral("DejaVu Serif"));
  title.setPixelSize(23);
  title.setBold(true);
  p.setFont(title);
  p.setPen(Qt::white);
  p.drawText(QRectF(76, 26, 152, 34), Qt::AlignLeft | Qt::AlignVCenter,
             QStringLiteral("Tweakforge"));
  QFont body(QStringLiteral("DejaVu Sans"));
  body.setPixelSize(12);
  p.setFont(body);
  p.setPen(QColor(200, 200, 230));
  p.drawText(QRectF(78, 60, 150, 30), Qt::AlignLeft | Qt::AlignTop,
             QStringLiteral("Windows 95 shell tweaks"));
  p.setPen(QPen(QColor(120, 120, 200), 1));
  p.drawLine(12, 100, 220, 100);
  p.setPen(QColor(230, 230, 240));
  p.drawText(QRectF(12, 108, 208, 40), Qt::AlignCenter | Qt::TextWordWrap,
             QStringLiteral("Looks, speed and policies of the desktop, "
                            "kept in the registry"));
  return image;
}

} // namespace

int main(int argc, char **argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication application(argc, argv);
  if (argc != 2) {
    qWarning("usage: tweakforge-draw-pictures <resources directory>");
    return 2;
  }
  const QDir resources(QString::fromLocal8Bit(argv[1]));
  resources.mkpath(QStringLiteral("pictures"));
  bool ok = true;
  for (const auto &[name, draw] : icons())
    ok &= drawIcon(draw, 32).save(
        resources.filePath(QStringLiteral("pictures/%1.png").arg(name)));
  ok &= drawIcon(icons().front().second, 128)
            .save(resources.filePath(QStringLiteral("tweakforge.png")));
  ok &= drawAboutPicture().save(
      resources.filePath(QStringLiteral("TwkForge.bmp")), "BMP");
  return ok ? 0 : 1;
}
