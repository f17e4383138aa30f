// The three layout modes. The medium layout is the design geometry; the
// small and large ones move every control with its region (each region's
// frame is given for all three) and set the fonts of their mode.
#include <QLabel>

#include "canvas_widgets.h"
#include "main_form.h"
#include "ui_font.h"

namespace quillon {
namespace {

// Layout 1 sizes are pixels, layouts 0 and 2 points.
struct FontSizes {
  int small, medium, large;
  bool bold;
};

QRect Frame(int left, int top, int right, int bottom) {
  return QRect(QPoint(left, top), QPoint(right, bottom));
}

int Scaled(int value, int from, int fromSize, int to, int toSize) {
  return to + (value - from) * toSize / fromSize;
}

}  // namespace

void TMainForm::ChooseLayoutMode() {
  const int height = screen_.size.height();
  const int width = screen_.size.width();
  int normalWidth = 0;
  int designHeight = 0;
  if (height < 768) {
    LayoutMode = 0;
    designHeight = 600;
    if (width > 800) normalWidth = 800;
  } else if (height >= 1024) {
    LayoutMode = 2;
    designHeight = 1024;
    if (width > 1280) normalWidth = 1280;
  } else {
    LayoutMode = 1;
    designHeight = 768;
    // 1280, not 1024: the medium design is laid out for the wider window.
    if (width > 1024) normalWidth = 1280;
  }
  if (normalWidth == 0) {
    // The size too, for window systems without a manager that maximises.
    setGeometry(QRect(QPoint(0, 0), screen_.size));
    setWindowState(Qt::WindowMaximized);
  } else {
    setWindowState(Qt::WindowNoState);
    resize(normalWidth, std::min(designHeight, height));
    move((width - normalWidth) / 2, (height - this->height()) / 2);
  }
  ApplyLayout();
}

QRect TMainForm::RegionFrame(Region region, int mode) const {
  static const QRect frames[][3] = {
      /* Title */ {Frame(628, 8, 790, 90), Frame(818, 16, 1017, 135), Frame(825, 16, 1265, 150)},
      /* Position */ {Frame(127, 110, 610, 170), Frame(216, 120, 725, 200),
                      Frame(232, 195, 980, 306)},
      /* DataBar */ {Frame(8, 4, 437, 52), Frame(10, 4, 449, 59), Frame(10, 4, 669, 86)},
      /* Navigation */ {Frame(61, 212, 195, 281), Frame(77, 268, 211, 345),
                        Frame(60, 394, 261, 510)},
      /* Status */ {Frame(273, 205, 520, 353), Frame(360, 250, 609, 440),
                    Frame(376, 360, 738, 640)},
      /* Alarms */ {Frame(273, 383, 520, 480), Frame(360, 510, 609, 616),
                    Frame(376, 726, 738, 880)},
      /* SignalLevel */ {QRect(648, 205, 38, 300), QRect(818, 293, 38, 304),
                         QRect(1036, 416, 57, 450)},
      /* Plot */ {QRect(408, 148, 320, 320), QRect(456, 208, 400, 400),
                  QRect(596, 324, 500, 500)}};
  return frames[static_cast<int>(region)][mode];
}

QFont TMainForm::FontFor(FontRole role) const {
  static const FontSizes sizes[] = {
      /* Normal */ {7, 12, 13, true},
      /* Button */ {7, 12, 13, false},
      /* Heading */ {14, 19, 26, true},
      /* BigHeading */ {14, 21, 26, true},
      /* SignalHeading */ {12, 21, 20, true},
      /* PositionHeading */ {16, 24, 27, true},
      /* PositionValue */ {20, 32, 36, true},
      /* LogoBig */ {11, 19, 16, true},
      /* LogoSmall */ {5, 8, 7, false},
      /* LogoModel */ {9, 16, 13, true},
      /* PlotTitle */ {14, 19, 20, true},
      /* Description */ {8, 13, 14, true},
      /* AxisTitle */ {8, 12, 12, true},
      /* AxisLabel */ {7, 12, 13, true},
      /* BandLabel */ {7, 12, 12, true},
      /* HighlightButton */ {9, 15, 16, true}};
  const FontSizes& size = sizes[static_cast<int>(role)];
  if (LayoutMode == 1) return SansFont(size.medium, size.bold);
  QFont font = SansFont(12, size.bold);
  font.setPointSize(LayoutMode == 0 ? size.small : size.large);
  return font;
}

void TMainForm::ApplyLayout() {
  if (LayoutMode != 1) {
    QFont base = font();
    base.setPointSize(LayoutMode == 0 ? 7 : 13);
    setFont(base);
  }
  for (const Placed& p : placed_) {
    p.widget->setFont(FontFor(p.role));
    const QRect from = RegionFrame(p.region, 1);
    const QRect to = RegionFrame(p.region, LayoutMode);
    const QRect& r = p.design;
    p.widget->setGeometry(
        Scaled(r.left(), from.left(), from.width(), to.left(), to.width()),
        Scaled(r.top(), from.top(), from.height(), to.top(), to.height()),
        r.width() * to.width() / from.width(), r.height() * to.height() / from.height());
  }
  PlaceTitleBlock();
  PlaceFramedButtons();
  for (QLabel* label : surface->findChildren<QLabel*>()) FitText(label);
  if (LayoutMode == 1 && screen_.dotsPerInch > 96) {
    for (QLabel* label : XValues) {
      QFont small = label->font();
      small.setPointSize(8);
      label->setFont(small);
    }
  }
}

// A text wider than its label grows the label, about its alignment.
void TMainForm::FitText(QLabel* label) {
  if (label->text().isEmpty()) return;
  const int needed =
      label->fontMetrics().horizontalAdvance(label->text()) + 2 * label->frameWidth() + 4;
  const QRect r = label->geometry();
  if (needed <= r.width()) return;
  const Qt::Alignment align = label->alignment();
  int left = r.left();
  if (align & Qt::AlignHCenter) left = r.center().x() - needed / 2;
  if (align & Qt::AlignRight) left = r.right() + 1 - needed;
  label->setGeometry(left, r.top(), needed, r.height());
}

// The logo keeps its picture's size; the texts of the large layout stand
// left of it.
void TMainForm::PlaceTitleBlock() {
  switch (LayoutMode) {
    case 0:
      Logo->hide();
      Logo800->show();
      Logo800->setGeometry(706, 6, 80, 32);
      LogoText4->hide();
      return;
    case 1:
      Logo->show();
      Logo800->hide();
      return;
    default:
      Logo->setGeometry(1088, 12, 160, 64);
      LogoText1->setGeometry(825, 73, 100, 30);
      LogoText2->setGeometry(925, 75, 20, 14);
      LogoText3->setGeometry(945, 73, 130, 30);
      LogoText4->setGeometry(825, 104, 250, 26);
      return;
  }
}

void TMainForm::BuildAxisFont() {
  AxisFont = SansFont(screen_.size.width() >= 1280 ? 25 : 13);
  AxisFont.setWeight(QFont::DemiBold);
}

}  // namespace quillon
