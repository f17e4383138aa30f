// The small widgets of the main window's design that Qt has no exact twin
// for: an image-backed paint box, a filled circle, a flat speed button and
// the window surface that the frames are drawn on.
#pragma once

#include <QColor>
#include <QElapsedTimer>
#include <QImage>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <functional>

class QPainter;

namespace quillon {

// Drawing goes into an image, so that erasing by overdrawing in black works
// as on a canvas; paintEvent only shows the image.
class PaintBox : public QWidget {
  Q_OBJECT
 public:
  explicit PaintBox(QWidget* parent);
  // Keeps the drawing's top left corner; new area is black.
  void Resize(int width, int height);
  QImage& Image() { return image_; }
  const QImage& Image() const { return image_; }
  // The image changed. Samples come far more often than a screen refreshes,
  // so the changes are shown together, at most once a display frame.
  void Changed();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void ShowFrame();

  QImage image_;
  QTimer* nextFrame_;  // a change that came too soon after the last frame waits for it
  QElapsedTimer sinceFrame_;
};

// A circle filled with its brush colour, outlined in black.
class Shape : public QWidget {
  Q_OBJECT
 public:
  explicit Shape(QWidget* parent);
  void SetBrush(const QColor& colour);
  QColor Brush() const { return brush_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QColor brush_;
};

class SpeedButton : public QPushButton {
  Q_OBJECT
 public:
  SpeedButton(const QString& caption, QWidget* parent);
};

// The window's client area: the controls sit on it at absolute positions and
// the form draws its frames on it.
class Surface : public QWidget {
  Q_OBJECT
 public:
  Surface(QWidget* parent, std::function<void(QPainter&)> paint);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::function<void(QPainter&)> paint_;
};

}  // namespace quillon
