// Saves the user manual's pictures: the real main window against the
// emulated electronics in each view, and the dialogs the manual shows, each
// as a PNG file in the folder given. The program's settings and ports live
// in throw-away folders, so the pictures show the defaults.
//   manual_screenshots FOLDER
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QRadioButton>
#include <QTimer>
#include <cmath>
#include <cstdio>
#include <functional>

#include "application_setup.h"
#include "encoder_setup_form.h"
#include "engineering_display.h"
#include "info_form.h"
#include "main_form.h"
#include "plot_settings_form.h"
#include "questions.h"
#include "window_harness.h"
#include "signal_words.h"
#include "startup.h"
#include "veritrak/emulator.h"

namespace {

using namespace quillon;
using harness::FirstAnswers;
using harness::ServeUntil;

constexpr int kStartLimitMs = 20000;
// The emulated read-head: fast enough that the newest points of the encoder
// signal close the ring, with a signal that stays in the good band along the
// travel, as after a good alignment. Two sweeps of its travel take kSweepMs.
constexpr double kHeadSpeed = 60000;  // counts a second
constexpr double kAmplitudeLow = 450, kAmplitudeHigh = 750;
constexpr int kSweepMs = 6000;
// How close to its end a plot that restarts is taken.
constexpr double kNearlyFull = 0.93;

void Serve(int ms) {
  ServeUntil([] { return false; }, ms);
}

class Camera {
 public:
  explicit Camera(const QString& folder) : folder_(folder) {}
  bool failed = false;

  void Take(QWidget& widget, const char* name) { Save(widget.grab().toImage(), name); }
  void Save(const QImage& picture, const char* name) {
    const QString path = folder_.filePath(QString::fromLatin1(name) + QStringLiteral(".png"));
    // The pictures hold few colours: a palette keeps the files small.
    const QImage image = picture.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither);
    const bool saved = image.save(path, "PNG", 0);
    std::printf("%s %s\n", saved ? "saved" : "could not save", qPrintable(path));
    failed |= !saved;
  }
  void Fail(const char* what) {
    std::fprintf(stderr, "manual_screenshots: %s\n", what);
    failed = true;
  }

 private:
  QDir folder_;
};

// The figures the manual explains, drawn as the Encoder Signal view draws:
// olive grid, green reference circles, yellow points. Each is an ellipse
// (radii and centre as fractions of the panel, turned by degrees).
QImage LissajousExamples() {
  struct Figure {
    const char* name;
    double rx, ry, cx, cy, turn;
  };
  const Figure figures[] = {{"good", 0.32, 0.32, 0, 0, 0},
                            {"offset", 0.30, 0.30, 0.10, -0.08, 0},
                            {"flattened", 0.36, 0.19, 0, 0, 0},
                            {"tilted", 0.38, 0.20, 0, 0, 45},
                            {"too small", 0.10, 0.10, 0, 0, 0}};
  constexpr int kPanel = 150, kGap = 12, kCaption = 22;
  QImage image(5 * kPanel + 4 * kGap, kPanel + kCaption, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  for (int i = 0; i < 5; ++i) {
    const Figure& f = figures[i];
    const QRectF panel(i * (kPanel + kGap), 0, kPanel, kPanel);
    painter.fillRect(panel, Qt::black);
    painter.setPen(QPen(QColor(128, 128, 0), 1));
    for (int line = 1; line < 6; ++line) {
      const double at = line * kPanel / 6.0;
      painter.drawLine(QPointF(panel.left() + at, 0), QPointF(panel.left() + at, kPanel));
      painter.drawLine(QPointF(panel.left(), at), QPointF(panel.right(), at));
    }
    const QPointF centre = panel.center();
    painter.setPen(QPen(QColor(0, 128, 0), 2));
    for (double r : {0.15, 0.475}) painter.drawEllipse(centre, r * kPanel, r * kPanel);
    painter.setPen(QPen(QColor(255, 255, 0), 2));
    const double turn = f.turn * M_PI / 180;
    for (int step = 0; step < 90; ++step) {
      const double a = step * 2 * M_PI / 90;
      const double x = f.rx * std::cos(a), y = f.ry * std::sin(a);
      painter.drawPoint(centre + QPointF(x * std::cos(turn) - y * std::sin(turn) + f.cx,
                                         x * std::sin(turn) + y * std::cos(turn) + f.cy) *
                                     kPanel);
    }
    painter.setPen(Qt::black);
    painter.drawText(QRectF(panel.left(), kPanel, kPanel, kCaption), Qt::AlignCenter,
                     QString::fromLatin1(f.name));
  }
  return image;
}

// Serves until the view has recorded `samples` more samples.
bool ServeSamples(const ComData& connection, int view, long samples) {
  int32_t last = connection.WriteIndex[view];
  long total = 0;
  return ServeUntil(
      [&] {
        const int32_t now = connection.WriteIndex[view];
        total += WrapSlot(now - last, RingSize(view));
        last = now;
        return total >= samples;
      },
      kStartLimitMs);
}

// The view is shown and its own acquisition draws.
bool Live(TMainForm& form, int view) {
  return ServeUntil(
      [&] {
        return form.CurrentView == view && form.Lissajous1->isEnabled() &&
               form.Connection->ThreadActive[view];
      },
      kStartLimitMs);
}

void TakeViews(TMainForm& form, Camera& camera) {
  // The status page in the green band with the latched lamps reset, as after
  // a good alignment.
  const auto green = [&] { return form.greenleft->isVisible(); };
  ServeUntil([&] { return form.IndexBox->text() == QStringLiteral(" at index"); }, kSweepMs);
  if (!ServeUntil(green, kSweepMs))
    return camera.Fail("the status page never showed the green band");
  form.ResetAlarmsButtonClick();
  Serve(300);
  if (!ServeUntil(green, kSweepMs)) return camera.Fail("the signal left the green band");
  camera.Take(form, "status-page");

  // Linear units show all the dialog offers; it is cancelled afterwards.
  form.Encoder1->trigger();
  auto* units = form.EncoderSetupForm;
  units->findChild<QWidget*>("encoderunittypegroup")
      ->findChildren<QRadioButton*>()
      .value(0)
      ->click();
  units->findChild<QLineEdit*>("gratingpitchbox")->setText(QStringLiteral("20.00"));
  Serve(300);
  camera.Take(*form.EncoderSetupForm, "units-dialog");
  form.EncoderSetupForm->reject();

  form.Lissajous1->trigger();
  if (!Live(form, SignalView)) return camera.Fail("the encoder signal view did not start");
  Serve(2000);
  camera.Take(form, "encoder-signal");

  form.SignalMonitor1->trigger();
  if (!Live(form, StrengthView)) return camera.Fail("the signal strength view did not start");
  // Its sweep starts again after as many samples as it shows.
  ServeSamples(*form.Connection, StrengthView,
               static_cast<long>(form.Persisted.SignalStrengthPoints * kNearlyFull));
  camera.Take(form, "signal-strength");

  form.Mainwindow1->trigger();
  if (!Live(form, StatusView)) return camera.Fail("the status page did not come back");
  form.EncoderPositionPlot1->trigger();
  if (!Live(form, PositionView)) return camera.Fail("the encoder position view did not start");
  // Its time window starts again when it is full.
  ServeUntil(
      [&] {
        const double span = form.PositionPlotSeconds;
        return std::fmod(form.TimeText2->text().toDouble(), span) > span * kNearlyFull;
      },
      kStartLimitMs);
  camera.Take(form, "encoder-position");
  form.ShowPlotSettings();
  Serve(300);
  camera.Take(*form.PlotSettingsForm, "plot-options");
  form.PlotSettingsForm->reject();

  form.Mainwindow1->trigger();
  if (!Live(form, StatusView)) return camera.Fail("the status page did not come back");
  form.Veritrakversion1->trigger();
  if (!ServeUntil([&] { return form.InfoForm->isVisible(); }, kStartLimitMs))
    return camera.Fail("the electronics information did not open");
  Serve(300);
  camera.Take(*form.InfoForm, "electronics-info");
  form.InfoForm->hide();
  Serve(300);

  form.Engineering1->trigger();
  if (!ServeUntil([&] { return form.EngineeringDisplay->isVisible(); }, kStartLimitMs))
    return camera.Fail("the engineering display did not open");
  Serve(2000);
  camera.Take(*form.EngineeringDisplay, "engineering-display");
  form.EngineeringDisplay->reject();
  Serve(1500);
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  SetUpApplication();
  if (argc != 2) {
    std::fprintf(stderr, "usage: manual_screenshots FOLDER\n");
    return 2;
  }
  // Absolute: the window makes its installation directory the current one.
  const QString folder = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
  if (!QDir().mkpath(folder)) {
    std::fprintf(stderr, "manual_screenshots: cannot make %s\n", argv[1]);
    return 1;
  }

  const harness::Sandbox sandbox;
  veritrak::Options options;
  options.head.speed = kHeadSpeed;
  options.head.amplitudeLow = kAmplitudeLow;
  options.head.amplitudeHigh = kAmplitudeHigh;
  veritrak::Emulator emulator(options);
  sandbox.Home().LinkPort(1, emulator.DevicePath());

  // The medium layout on a screen of its size, whatever screen the platform
  // has: the offscreen one is smaller.
  const QSize screen(1024, 768);
  FirstAnswers questions;
  TMainForm form(questions, {screen, 96});
  TStartup startup(form);
  form.setWindowState(Qt::WindowNoState);
  form.setGeometry(QRect(QPoint(0, 0), screen));
  form.CreateDialogs();
  if (!form.Connection || form.DemoMode) {
    std::fprintf(stderr, "manual_screenshots: the emulated electronics were not found\n");
    return 1;
  }
  Camera camera(folder);
  camera.Save(LissajousExamples(), "lissajous-figures");
  TakeViews(form, camera);
  // Past the close confirmation, as the program ends: the threads stop first.
  form.ShutDown();
  QApplication::exec();
  return camera.failed ? 1 : 0;
}
