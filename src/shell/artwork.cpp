#include "shell/artwork.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRandomGenerator>
#include <algorithm>
#include <iterator>
#include <string>

#include "core/version.h"

namespace {

// Category colours of the buttons, one per category 1..8.
const QColor kacrCategory[8] = {QColor(255, 0, 0),   QColor(0, 160, 0),   QColor(0, 0, 255),
                                QColor(255, 200, 0), QColor(0, 192, 192), QColor(192, 0, 192),
                                QColor(128, 64, 0),  QColor(128, 128, 128)};

// A framed picture area at the left of the button (12 x 13) for the picture icons.
void PictureFrame(QPainter& p) { p.fillRect(0, 1, 13, 13, Qt::black); }

void CompositePicture(QPainter& p) {
  PictureFrame(p);
  p.fillRect(1, 2, 11, 11, QColor(40, 90, 40));
  p.fillRect(1, 2, 11, 4, QColor(200, 60, 60));
  p.fillRect(4, 6, 8, 4, QColor(80, 200, 80));
  p.fillRect(1, 9, 6, 4, QColor(60, 90, 220));
}

void CoarsePicture(QPainter& p) {
  PictureFrame(p);
  const QColor acr[4] = {QColor(0, 0, 160), QColor(0, 160, 0), QColor(230, 200, 0),
                         QColor(200, 0, 0)};
  for (int i = 0; i < 4; ++i) p.fillRect(1, 2 + i * 3, 11, i == 3 ? 2 : 3, acr[i]);
  p.fillRect(1, 2, 4, 5, acr[1]);
}

void FinePicture(QPainter& p) {
  PictureFrame(p);
  QLinearGradient grad(1, 0, 12, 0);
  grad.setColorAt(0, QColor(0, 0, 200));
  grad.setColorAt(0.5, QColor(0, 200, 0));
  grad.setColorAt(1, QColor(230, 0, 0));
  p.fillRect(1, 2, 11, 11, grad);
}

void CategoryPicture(QPainter& p) {
  PictureFrame(p);
  p.fillRect(1, 2, 11, 11, Qt::white);
  p.fillRect(3, 4, 5, 4, kacrCategory[0]);
  p.fillRect(6, 8, 5, 4, kacrCategory[0]);
}

void ClassifyPicture(QPainter& p) {
  PictureFrame(p);
  p.fillRect(1, 2, 6, 6, kacrCategory[0]);
  p.fillRect(7, 2, 5, 6, kacrCategory[1]);
  p.fillRect(1, 8, 4, 5, kacrCategory[2]);
  p.fillRect(5, 8, 7, 5, kacrCategory[3]);
}

// Smooth display: the picture arrives line by line, shown by a downward arrow beside it.
void SmoothMark(QPainter& p) {
  p.fillRect(14, 2, 1, 8, Qt::black);
  for (int i = 0; i < 3; ++i) p.fillRect(12 + i, 8 + i, 5 - 2 * i, 1, Qt::black);
}

void Digit(QPainter& p, const QRect& rc, int nDigit, const QColor& cr) {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(10);
  font.setBold(true);
  font.setStyleStrategy(QFont::NoAntialias);
  p.setFont(font);
  p.setPen(cr);
  p.drawText(rc, Qt::AlignCenter, QString::number(nDigit));
}

void Arrow(QPainter& p, int nDirection) {
  // 0 left, 1 right, 2 up, 3 down: a black triangle with a bar behind it.
  for (int i = 0; i < 6; ++i) {
    const int nLen = 2 * i + 1;
    switch (nDirection) {
      case 0: p.fillRect(3 + i, 7 - i, 1, nLen, Qt::black); break;
      case 1: p.fillRect(12 - i, 7 - i, 1, nLen, Qt::black); break;
      case 2: p.fillRect(8 - i, 2 + i, nLen, 1, Qt::black); break;
      case 3: p.fillRect(8 - i, 12 - i, nLen, 1, Qt::black); break;
    }
  }
  switch (nDirection) {
    case 0: p.fillRect(9, 5, 5, 5, Qt::black); break;
    case 1: p.fillRect(2, 5, 5, 5, Qt::black); break;
    case 2: p.fillRect(6, 8, 5, 5, Qt::black); break;
    case 3: p.fillRect(6, 2, 5, 5, Qt::black); break;
  }
}

void OpenFolder(QPainter& p) {
  p.fillRect(1, 3, 6, 2, QColor(128, 128, 0));
  p.fillRect(1, 4, 12, 9, QColor(128, 128, 0));
  p.fillRect(2, 5, 10, 7, QColor(255, 255, 0));
  QPolygon cover;
  cover << QPoint(4, 7) << QPoint(15, 7) << QPoint(12, 13) << QPoint(1, 13);
  p.setPen(QColor(128, 128, 0));
  p.setBrush(QColor(255, 255, 128));
  p.drawPolygon(cover);
}

void CopyPages(QPainter& p) {
  for (int i = 0; i < 2; ++i) {
    const int x = 1 + i * 5;
    const int y = 1 + i * 4;
    p.fillRect(x, y, 8, 10, Qt::black);
    p.fillRect(x + 1, y + 1, 6, 8, Qt::white);
    for (int l = 0; l < 3; ++l) p.fillRect(x + 2, y + 3 + 2 * l, 4, 1, QColor(0, 0, 128));
  }
}

}  // namespace

QPixmap ToolBarIcon(const char* szIcon) {
  if (!szIcon) return {};
  const std::string strName = szIcon;
  QPixmap pm(kToolButtonWidth, kToolButtonHeight);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing, false);
  // The smooth displays are their picture with the arrow beside it.
  const bool bSmooth = strName.ends_with("-smooth");
  const std::string strPicture = bSmooth ? strName.substr(0, strName.size() - 7) : strName;
  if (strPicture == "open") {
    OpenFolder(p);
  } else if (strPicture == "copy") {
    CopyPages(p);
  } else if (strPicture == "composite") {
    CompositePicture(p);
  } else if (strPicture == "coarse") {
    CoarsePicture(p);
  } else if (strPicture == "fine") {
    FinePicture(p);
  } else if (strPicture == "category") {
    CategoryPicture(p);
  } else if (strPicture == "classification") {
    ClassifyPicture(p);
  } else if (strPicture == "generate") {
    // Generate: the category picture turns into the classification.
    p.fillRect(0, 1, 6, 6, kacrCategory[0]);
    p.fillRect(9, 7, 7, 7, kacrCategory[1]);
    p.fillRect(9, 7, 4, 4, kacrCategory[2]);
    p.fillRect(3, 8, 1, 4, Qt::black);
    p.fillRect(3, 11, 5, 1, Qt::black);
    p.fillRect(6, 10, 1, 3, Qt::black);
  } else if (strPicture.starts_with("arrow-")) {
    static const char* const kaszDirections[4] = {"arrow-left", "arrow-right", "arrow-up",
                                                  "arrow-down"};
    const auto* it = std::find(std::begin(kaszDirections), std::end(kaszDirections), strPicture);
    if (it == std::end(kaszDirections)) return {};
    Arrow(p, static_cast<int>(it - std::begin(kaszDirections)));
  } else if (strPicture.size() == 9 && strPicture.starts_with("category") &&
             strPicture[8] >= '1' && strPicture[8] <= '8') {
    // Category buttons 1..8: the digit on the category's colour.
    const int i = strPicture[8] - '1';
    p.fillRect(1, 1, 14, 13, Qt::black);
    p.fillRect(2, 2, 12, 11, kacrCategory[i]);
    const bool bDark = i == 2 || i == 5 || i == 6 || i == 7;
    Digit(p, QRect(2, 2, 12, 11), i + 1, bDark ? Qt::white : Qt::black);
  } else {
    return {};
  }
  if (bSmooth) SmoothMark(p);
  return pm;
}

QPixmap SplashBitmap() {
  constexpr int kWidth = 480, kHeight = 300;
  QPixmap pm(kWidth, kHeight);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing, true);

  // Night sky with stars.
  QLinearGradient sky(0, 0, 0, kHeight);
  sky.setColorAt(0, QColor(4, 8, 30));
  sky.setColorAt(1, QColor(10, 30, 70));
  p.fillRect(pm.rect(), sky);
  QRandomGenerator rng(102);
  for (int i = 0; i < 90; ++i) {
    const int nGrey = 150 + rng.bounded(105);
    p.fillRect(rng.bounded(kWidth), rng.bounded(kHeight / 2 + 40), 1, 1,
               QColor(nGrey, nGrey, nGrey));
  }

  // The earth's limb with a false-colour scene swath on it.
  const QRectF rcEarth(-260, 190, kWidth + 520, 700);
  QRadialGradient earth(rcEarth.center(), rcEarth.width() / 2);
  earth.setColorAt(0.80, QColor(20, 70, 140));
  earth.setColorAt(1.0, QColor(90, 160, 220));
  p.setPen(QPen(QColor(140, 200, 255), 3));
  p.setBrush(earth);
  p.drawEllipse(rcEarth);
  QPainterPath earthPath;
  earthPath.addEllipse(rcEarth);
  p.save();
  p.setClipPath(earthPath);
  p.setPen(Qt::NoPen);
  const QColor acrScene[6] = {QColor(200, 40, 60),  QColor(240, 120, 90), QColor(60, 140, 60),
                              QColor(170, 30, 50), QColor(230, 200, 170), QColor(40, 60, 120)};
  for (int y = 200; y < kHeight; y += 6) {
    for (int x = 270; x < 420; x += 6) {
      p.setBrush(acrScene[(x / 6 * 7 + y / 6 * 3 + (x * y) % 5) % 6]);
      p.drawRect(x + (y - 200) / 4, y, 6, 6);
    }
  }
  p.restore();

  // The satellite and its scanning beam.
  const QPointF ptSat(400, 52);
  QPolygonF beam;
  beam << ptSat << QPointF(300, 205) << QPointF(440, 205);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(255, 240, 150, 70));
  p.drawPolygon(beam);
  p.setPen(QPen(QColor(30, 30, 40), 1));
  p.setBrush(QColor(70, 90, 200));
  p.drawRect(QRectF(ptSat.x() - 62, ptSat.y() - 9, 40, 18));
  p.drawRect(QRectF(ptSat.x() + 22, ptSat.y() - 9, 40, 18));
  p.setBrush(QColor(220, 190, 90));
  p.drawRect(QRectF(ptSat.x() - 14, ptSat.y() - 14, 28, 28));
  p.setBrush(QColor(200, 200, 210));
  p.drawEllipse(ptSat + QPointF(0, 16), 6, 4);

  // The product name.
  QFont fontTitle(QStringLiteral("DejaVu Serif"));
  fontTitle.setPixelSize(52);
  fontTitle.setBold(true);
  p.setFont(fontTitle);
  p.setPen(QColor(255, 255, 255));
  p.drawText(QPointF(28, 92), QStringLiteral("Geolumen"));
  QFont fontSub(QStringLiteral("IPAPGothic"));
  fontSub.setPixelSize(17);
  p.setFont(fontSub);
  p.setPen(QColor(200, 220, 255));
  p.drawText(QPointF(32, 124), QString::fromUtf8("衛星データ表示 ジオルーメン"));
  p.drawText(QPointF(32, 148), QStringLiteral("Ver ") + QString::fromUtf8(kszVersion));

  p.setPen(QPen(QColor(200, 200, 200), 1));
  p.setBrush(Qt::NoBrush);
  p.drawRect(pm.rect().adjusted(0, 0, -1, -1));
  return pm;
}
