#include "app/ui/pictures.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <cstdint>

#include "platform/dc.h"

namespace app {

namespace {

// The scene is drawn on a base canvas of 800 x 450 and scaled to fit the target; the sky and
// the ground reach out to the target's edges.
constexpr double kBaseW = 800;
constexpr double kBaseH = 450;
constexpr double kHorizon = 332;

struct Mood {
  QColor skyTop, skyLow, cloud, rain, groundHigh, groundLow, hills;
  int rainStreaks;
};

Mood RainMood() {
  return {QColor(163, 182, 201), QColor(219, 227, 233), QColor(140, 154, 170, 190), QColor(96, 122, 150, 120),
          QColor(150, 180, 140), QColor(120, 150, 112), QColor(150, 172, 160, 170), 260};
}

Mood AfterRainMood() {
  return {QColor(192, 212, 228), QColor(238, 242, 244), QColor(232, 236, 241, 230), QColor(110, 140, 170, 80),
          QColor(168, 198, 152), QColor(140, 172, 126), QColor(170, 194, 176, 160), 70};
}

// A small deterministic generator, so the picture is the same on every run.
class Lcg {
 public:
  explicit Lcg(uint32_t seed) : state_(seed) {}
  double Next() {
    state_ = state_ * 1664525u + 1013904223u;
    return static_cast<double>(state_ >> 8) / static_cast<double>(1u << 24);
  }

 private:
  uint32_t state_;
};

void Cloud(QPainter& p, double x, double y, double w, const QColor& c) {
  p.setPen(Qt::NoPen);
  p.setBrush(c);
  QPainterPath path;
  path.addEllipse(QRectF(x, y + w * 0.12, w * 0.45, w * 0.22));
  path.addEllipse(QRectF(x + w * 0.22, y, w * 0.42, w * 0.3));
  path.addEllipse(QRectF(x + w * 0.5, y + w * 0.08, w * 0.4, w * 0.24));
  path.addEllipse(QRectF(x + w * 0.12, y + w * 0.15, w * 0.7, w * 0.18));
  path.setFillRule(Qt::WindingFill);
  p.drawPath(path.simplified());
}

void Rain(QPainter& p, const Mood& m, uint32_t seed) {
  Lcg rng(seed);
  QPen pen(m.rain, 1.3);
  pen.setCapStyle(Qt::RoundCap);
  p.setPen(pen);
  for (int i = 0; i < m.rainStreaks; ++i) {
    const double x = -40 + rng.Next() * (kBaseW + 80);
    const double y = 20 + rng.Next() * (kHorizon - 10);
    const double len = 10 + rng.Next() * 8;
    p.drawLine(QPointF(x, y), QPointF(x - len * 0.22, y + len));
  }
}

void House(QPainter& p) {
  const QColor outline(112, 100, 90);
  // Walls.
  p.setPen(QPen(outline, 1.2));
  p.setBrush(QColor(238, 230, 214));
  p.drawRect(QRectF(222, 252, 218, 108));
  // Window with its frame and the door.
  p.setBrush(QColor(176, 198, 214));
  p.drawRect(QRectF(248, 280, 56, 40));
  p.drawLine(QPointF(276, 280), QPointF(276, 320));
  p.drawLine(QPointF(248, 300), QPointF(304, 300));
  p.setBrush(QColor(150, 112, 82));
  p.drawRect(QRectF(358, 296, 38, 64));
  p.setBrush(QColor(210, 190, 140));
  p.drawEllipse(QPointF(389, 330), 2.2, 2.2);
  // Roof with its tile lines.
  QPainterPath roof;
  roof.moveTo(196, 258);
  roof.lineTo(331, 168);
  roof.lineTo(466, 258);
  roof.closeSubpath();
  p.setPen(QPen(QColor(84, 48, 40), 1.5));
  p.setBrush(QColor(128, 74, 60));
  p.drawPath(roof);
  p.setPen(QPen(QColor(104, 60, 50), 1));
  for (int k = 1; k < 5; ++k) {
    const double t = k / 5.0;
    const double y = 168 + t * 90;
    const double half = t * 135;
    p.drawLine(QPointF(331 - half, y), QPointF(331 + half, y));
  }
  // Eave gutter on the right-hand slope and the downpipe to the tank.
  p.setPen(QPen(QColor(96, 104, 110), 1));
  p.setBrush(QColor(150, 160, 166));
  p.drawRoundedRect(QRectF(430, 256, 46, 8), 3, 3);
  QPainterPath pipe;
  pipe.moveTo(468, 262);
  pipe.lineTo(468, 282);
  pipe.quadTo(468, 288, 474, 288);
  pipe.lineTo(552, 288);
  pipe.quadTo(558, 288, 558, 294);
  pipe.lineTo(558, 300);
  QPen pipePen(QColor(120, 130, 136), 7);
  pipePen.setCapStyle(Qt::FlatCap);
  pipePen.setJoinStyle(Qt::RoundJoin);
  p.setPen(pipePen);
  p.setBrush(Qt::NoBrush);
  p.drawPath(pipe);
  QPen pipeLight(QColor(176, 186, 192), 2);
  pipeLight.setCapStyle(Qt::FlatCap);
  p.setPen(pipeLight);
  p.drawPath(pipe.translated(-1.5, -1.5));
}

void Tank(QPainter& p) {
  const QRectF body(512, 300, 96, 72);
  // Shadow on the ground.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(60, 80, 60, 60));
  p.drawEllipse(QRectF(body.left() - 8, body.bottom() - 6, body.width() + 28, 16));
  // Body with a rounded-metal shading, bottom and top ellipses.
  QLinearGradient g(body.left(), 0, body.right(), 0);
  g.setColorAt(0.0, QColor(78, 110, 138));
  g.setColorAt(0.35, QColor(140, 174, 198));
  g.setColorAt(1.0, QColor(70, 100, 128));
  p.setBrush(g);
  p.setPen(QPen(QColor(52, 76, 98), 1.2));
  QPainterPath shape;
  shape.moveTo(body.left(), body.top());
  shape.lineTo(body.left(), body.bottom());
  shape.arcTo(QRectF(body.left(), body.bottom() - 9, body.width(), 18), 180, 180);
  shape.lineTo(body.right(), body.top());
  p.drawPath(shape);
  p.setBrush(QColor(168, 196, 214));
  p.drawEllipse(QRectF(body.left(), body.top() - 9, body.width(), 18));
  p.setBrush(QColor(92, 120, 146));
  p.drawEllipse(QRectF(body.center().x() - 9, body.top() - 4, 18, 7));
  // Bands.
  p.setPen(QPen(QColor(60, 86, 110, 160), 1));
  for (double y : {body.top() + 24, body.top() + 48}) {
    p.drawArc(QRectF(body.left(), y - 9, body.width(), 18), 180 * 16, 180 * 16);
  }
  // Level window with the water held.
  const QRectF gauge(body.right() - 20, body.top() + 12, 9, 52);
  p.setPen(QPen(QColor(40, 60, 80), 1));
  p.setBrush(QColor(226, 234, 240));
  p.drawRoundedRect(gauge, 3, 3);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(96, 170, 222));
  p.drawRoundedRect(QRectF(gauge.left() + 1.5, gauge.top() + 18, gauge.width() - 3, gauge.height() - 19.5), 2, 2);
  // Tap on the left with a drop falling into a watering can.
  p.setPen(QPen(QColor(90, 96, 100), 1));
  p.setBrush(QColor(160, 166, 170));
  p.drawRect(QRectF(body.left() - 14, body.bottom() - 22, 16, 6));
  p.drawRect(QRectF(body.left() - 15, body.bottom() - 22, 5, 11));
  p.setBrush(QColor(110, 180, 230));
  p.setPen(Qt::NoPen);
  p.drawEllipse(QRectF(body.left() - 15, body.bottom() - 7, 4, 5));
  p.setPen(QPen(QColor(70, 110, 80), 1.2));
  p.setBrush(QColor(112, 160, 120));
  QPainterPath can;
  can.moveTo(body.left() - 30, body.bottom() + 2);
  can.lineTo(body.left() - 26, body.bottom() + 16);
  can.lineTo(body.left() - 6, body.bottom() + 16);
  can.lineTo(body.left() - 2, body.bottom() + 2);
  can.closeSubpath();
  p.drawPath(can);
  p.drawLine(QPointF(body.left() - 29, body.bottom() + 6), QPointF(body.left() - 42, body.bottom() - 2));
}

void Garden(QPainter& p) {
  // A tree behind the tank and low shrubs along the house.
  p.setPen(QPen(QColor(96, 72, 54), 5));
  p.drawLine(QPointF(690, 360), QPointF(690, 300));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(92, 140, 96));
  p.drawEllipse(QRectF(650, 236, 82, 76));
  p.setBrush(QColor(110, 158, 108));
  p.drawEllipse(QRectF(664, 222, 58, 56));
  p.setBrush(QColor(98, 146, 100));
  for (double x : {206.0, 236.0, 412.0, 438.0}) p.drawEllipse(QRectF(x, 346, 30, 20));
}

void Scene(QPainter& p, const QSize& size, const Mood& m) {
  p.setRenderHint(QPainter::Antialiasing, true);
  const double scale = std::min(size.width() / kBaseW, size.height() / kBaseH);
  const double offsetX = (size.width() - kBaseW * scale) / 2;
  const double offsetY = (size.height() - kBaseH * scale) / 2;
  const double horizonY = offsetY + kHorizon * scale;

  // Sky and ground across the whole picture.
  QLinearGradient sky(0, 0, 0, horizonY);
  sky.setColorAt(0, m.skyTop);
  sky.setColorAt(1, m.skyLow);
  p.fillRect(QRectF(0, 0, size.width(), horizonY), sky);
  QLinearGradient ground(0, horizonY, 0, size.height());
  ground.setColorAt(0, m.groundHigh);
  ground.setColorAt(1, m.groundLow);
  p.fillRect(QRectF(0, horizonY, size.width(), size.height() - horizonY), ground);

  p.save();
  p.translate(offsetX, offsetY);
  p.scale(scale, scale);
  // Far hills.
  QPainterPath hills;
  hills.moveTo(-400, kHorizon);
  hills.cubicTo(60, 270, 200, 300, 330, 312);
  hills.cubicTo(470, 322, 600, 262, 1200, kHorizon);
  hills.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(m.hills);
  p.drawPath(hills);
  Cloud(p, 40, 26, 210, m.cloud);
  Cloud(p, 330, 8, 170, m.cloud);
  Cloud(p, 560, 40, 230, m.cloud);
  Garden(p);
  House(p);
  Tank(p);
  Rain(p, m, 20240401u);
  p.restore();
}

}  // namespace

QImage DrawSplashPicture(const QSize& size, const std::string& titleUtf8) {
  QImage image(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
  QPainter p(&image);
  Scene(p, image.size(), RainMood());
  const double scale = std::min(image.width() / kBaseW, image.height() / kBaseH);
  const double offsetY = (image.height() - kBaseH * scale) / 2;
  QFont font(QString::fromStdString(platform::SubstituteFace("ＭＳ Ｐゴシック")));
  font.setBold(true);
  font.setPixelSize(std::max(8, static_cast<int>(40 * scale)));
  p.setFont(font);
  const QString title = QString::fromStdString(titleUtf8);
  const QRectF band(0, offsetY + 88 * scale, image.width(), 60 * scale);
  p.setPen(QColor(255, 255, 255, 170));
  p.drawText(band.translated(2 * scale, 2 * scale), Qt::AlignCenter, title);
  p.setPen(QColor(34, 56, 86));
  p.drawText(band, Qt::AlignCenter, title);
  return image;
}

QImage DrawWorkingPicture(const QSize& size) {
  QImage image(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
  QPainter p(&image);
  Scene(p, image.size(), AfterRainMood());
  return image;
}

QIcon GlyphIcon(Glyph glyph) {
  QPixmap pm(20, 20);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing, true);
  const QPen ink(QColor(60, 60, 70), 1);
  auto page = [&](const QColor& fill) {
    QPainterPath path;
    path.moveTo(4, 2);
    path.lineTo(12, 2);
    path.lineTo(16, 6);
    path.lineTo(16, 18);
    path.lineTo(4, 18);
    path.closeSubpath();
    p.setPen(ink);
    p.setBrush(fill);
    p.drawPath(path);
    p.drawLine(QPointF(12, 2), QPointF(12, 6));
    p.drawLine(QPointF(12, 6), QPointF(16, 6));
  };
  auto disk = [&] {
    p.setPen(ink);
    p.setBrush(QColor(70, 110, 170));
    p.drawRoundedRect(QRectF(2.5, 2.5, 15, 15), 2, 2);
    p.setBrush(QColor(240, 240, 240));
    p.drawRect(QRectF(5.5, 2.5, 9, 6));
    p.setBrush(QColor(40, 60, 90));
    p.drawRect(QRectF(6, 12, 8, 5.5));
  };
  auto pencil = [&](double dx, double dy) {
    p.setPen(QPen(QColor(90, 60, 30), 1));
    p.setBrush(QColor(236, 186, 70));
    QPainterPath path;
    path.moveTo(dx + 2, dy + 12);
    path.lineTo(dx + 10, dy + 4);
    path.lineTo(dx + 12, dy + 6);
    path.lineTo(dx + 4, dy + 14);
    path.lineTo(dx + 1, dy + 15);
    path.closeSubpath();
    p.drawPath(path);
  };
  switch (glyph) {
    case Glyph::New:
      page(Qt::white);
      break;
    case Glyph::Open:
      p.setPen(ink);
      p.setBrush(QColor(232, 196, 92));
      p.drawRect(QRectF(2, 5, 15, 12));
      p.setBrush(QColor(246, 218, 120));
      p.drawPolygon(QPolygonF({QPointF(2, 17), QPointF(5, 9), QPointF(19, 9), QPointF(17, 17)}));
      break;
    case Glyph::Save:
      disk();
      break;
    case Glyph::SaveAs:
      disk();
      pencil(6, 3);
      break;
    case Glyph::Edit:
      page(Qt::white);
      p.setPen(QPen(QColor(150, 150, 160), 1));
      for (int y = 8; y <= 14; y += 3) p.drawLine(QPointF(6, y), QPointF(12, y));
      pencil(6, 2);
      break;
    case Glyph::Calc:
      p.setPen(QPen(QColor(30, 100, 50), 1));
      p.setBrush(QColor(70, 170, 90));
      p.drawPolygon(QPolygonF({QPointF(5, 3), QPointF(17, 10), QPointF(5, 17)}));
      break;
    case Glyph::Results:
      p.setPen(ink);
      p.setBrush(Qt::white);
      p.drawRect(QRectF(2.5, 3.5, 15, 13));
      p.setBrush(QColor(180, 200, 230));
      p.drawRect(QRectF(2.5, 3.5, 15, 3.5));
      for (double x : {7.5, 12.5}) p.drawLine(QPointF(x, 3.5), QPointF(x, 16.5));
      for (double y : {10.0, 13.3}) p.drawLine(QPointF(2.5, y), QPointF(17.5, y));
      break;
    case Glyph::Analysis:
      p.setPen(ink);
      p.drawLine(QPointF(2.5, 17.5), QPointF(17.5, 17.5));
      p.drawLine(QPointF(2.5, 2.5), QPointF(2.5, 17.5));
      p.setBrush(QColor(80, 130, 200));
      p.drawRect(QRectF(5, 10, 3, 7.5));
      p.setBrush(QColor(220, 120, 70));
      p.drawRect(QRectF(9.5, 6, 3, 11.5));
      p.setBrush(QColor(90, 170, 100));
      p.drawRect(QRectF(14, 3, 3, 14.5));
      break;
    case Glyph::Weather:
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(150, 160, 176));
      p.drawEllipse(QRectF(2, 5, 9, 7));
      p.drawEllipse(QRectF(6, 2, 9, 9));
      p.drawEllipse(QRectF(10, 5, 8, 7));
      p.setPen(QPen(QColor(60, 120, 200), 1.5));
      for (double x : {5.0, 9.5, 14.0}) p.drawLine(QPointF(x, 13), QPointF(x - 1.5, 18));
      break;
    case Glyph::Report:
      page(Qt::white);
      p.setPen(QPen(QColor(60, 60, 70), 1.5));
      p.setBrush(QColor(220, 236, 250));
      p.drawEllipse(QRectF(8, 8, 7, 7));
      p.drawLine(QPointF(14, 14), QPointF(18, 18));
      break;
    case Glyph::Monthly:
      p.setPen(ink);
      p.setBrush(Qt::white);
      p.drawRect(QRectF(2.5, 3.5, 15, 14));
      p.setBrush(QColor(200, 70, 60));
      p.drawRect(QRectF(2.5, 3.5, 15, 4));
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(90, 90, 100));
      for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c) p.drawRect(QRectF(4.5 + c * 3.3, 9 + r * 2.8, 1.8, 1.6));
      break;
    case Glyph::Drop: {
      QPainterPath drop;
      drop.moveTo(10, 1.5);
      drop.cubicTo(13, 7, 16, 10, 16, 13);
      drop.cubicTo(16, 16.5, 13.3, 18.5, 10, 18.5);
      drop.cubicTo(6.7, 18.5, 4, 16.5, 4, 13);
      drop.cubicTo(4, 10, 7, 7, 10, 1.5);
      p.setPen(QPen(QColor(30, 80, 150), 1));
      p.setBrush(QColor(90, 160, 230));
      p.drawPath(drop);
      p.setPen(QPen(QColor(220, 240, 255), 1.5));
      p.drawArc(QRectF(6.5, 10.5, 5, 5), 180 * 16, 90 * 16);
      break;
    }
  }
  p.end();
  return QIcon(pm);
}

}  // namespace app
