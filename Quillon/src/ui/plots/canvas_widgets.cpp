#include "canvas_widgets.h"

#include <QPaintEvent>
#include <QPainter>

namespace quillon {
namespace {
// 33 frames a second: smooth to the eye, a tenth of the sample rates; each
// frame copies the whole plot to the screen.
constexpr int kFrameMs = 30;
}  // namespace

PaintBox::PaintBox(QWidget* parent) : QWidget(parent), nextFrame_(new QTimer(this)) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  nextFrame_->setSingleShot(true);
  connect(nextFrame_, &QTimer::timeout, this, &PaintBox::ShowFrame);
  Resize(1, 1);
}

// A change half a frame or more after the last frame is shown at once:
// changes handed over once a frame by a clock of their own are then shown
// as they come, whatever the phase between the two clocks, rather than each
// a wake-up later.
void PaintBox::Changed() {
  if (nextFrame_->isActive()) return;
  const qint64 since = sinceFrame_.isValid() ? sinceFrame_.elapsed() : kFrameMs;
  if (since >= kFrameMs / 2)
    ShowFrame();
  else
    nextFrame_->start(static_cast<int>(kFrameMs - since));
}

void PaintBox::ShowFrame() {
  sinceFrame_.start();
  update();
}

void PaintBox::Resize(int width, int height) {
  QImage grown(width, height, QImage::Format_RGB32);
  grown.fill(Qt::black);
  QPainter(&grown).drawImage(0, 0, image_);
  image_ = grown;
  resize(width, height);
  update();
}

void PaintBox::paintEvent(QPaintEvent* event) {
  QPainter(this).drawImage(event->rect(), image_, event->rect());
}

Shape::Shape(QWidget* parent) : QWidget(parent), brush_(128, 128, 128) {}

void Shape::SetBrush(const QColor& colour) {
  if (colour == brush_) return;
  brush_ = colour;
  update();
}

void Shape::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(Qt::black, 1));
  painter.setBrush(brush_);
  painter.drawEllipse(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
}

SpeedButton::SpeedButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent) {
  setFlat(true);
  setCursor(Qt::PointingHandCursor);
  setFocusPolicy(Qt::NoFocus);
  setStyleSheet(QStringLiteral("QPushButton { color: white; background: black; border: none; }"
                               "QPushButton:disabled { color: gray; }"
                               "QPushButton:pressed { background: #202020; }"));
}

Surface::Surface(QWidget* parent, std::function<void(QPainter&)> paint)
    : QWidget(parent), paint_(std::move(paint)) {
  setAutoFillBackground(true);
}

void Surface::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  paint_(painter);
}

}  // namespace quillon
