// make_pictures OUTPUT_DIR: writes the main window's pictures there as JPEG
// files named as the program loads them.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <cstdio>
#include <utility>
#include <vector>

#include "jpeg_writer.h"
#include "logo_drawing.h"
#include "signal_drawing.h"

namespace {

constexpr int kBandWidth = 18;
constexpr int kQuality = 95;

std::vector<std::pair<QString, QImage>> Pictures() {
  return {
      {"Logo", DrawLogo(QSize(160, 64))},
      {"Logo800", DrawLogo(QSize(80, 32))},
      {"SignalBar", DrawSignalBar()},
      {"GreenBand", DrawBand(QColor(40, 255, 40), kBandWidth, 186)},
      {"DarkGreenBand", DrawBand(QColor(0, 120, 10), kBandWidth, 45)},
      {"YellowBand", DrawBand(QColor(255, 225, 0), kBandWidth, 52)},
      {"RedBand", DrawBand(QColor(255, 30, 25), kBandWidth, 73)},
      {"StrengthPointer", DrawStrengthPointer()},
  };
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);  // text drawing needs the font database
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_pictures OUTPUT_DIR\n");
    return 2;
  }
  const QDir out(QString::fromLocal8Bit(argv[1]));
  for (const auto& [name, image] : Pictures()) {
    const QString path = out.filePath(name + ".jpg");
    if (!WriteJpeg(image, path, kQuality)) {
      std::fprintf(stderr, "make_pictures: cannot write %s\n", qPrintable(path));
      return 1;
    }
  }
  return 0;
}
