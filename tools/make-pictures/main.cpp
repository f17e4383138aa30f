// make_pictures OUTPUT_DIR: writes the main window's pictures there as JPEG
// files named as the program loads them.
// make_pictures --icons OUTPUT_DIR NAME: writes the program's icon as NAME.png
// in the sizes a desktop asks for and as NAME.svg, in the folders of an icon
// theme (OUTPUT_DIR/48x48/apps/NAME.png, OUTPUT_DIR/scalable/apps/NAME.svg).
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <cstdio>
#include <utility>
#include <vector>

#include "icon_drawing.h"
#include "jpeg_writer.h"
#include "logo_drawing.h"
#include "signal_drawing.h"

namespace {

constexpr int kBandWidth = 18;
constexpr int kQuality = 95;
constexpr int kIconSizes[] = {16, 32, 48, 64, 128, 256};

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

bool WriteText(const QString& text, const QString& path) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
         file.write(text.toUtf8()) == text.toUtf8().size() && file.flush();
}

int WriteIcons(const QDir& out, const QString& name) {
  const auto fail = [](const QString& path) {
    std::fprintf(stderr, "make_pictures: cannot write %s\n", qPrintable(path));
    return 1;
  };
  for (const int size : kIconSizes) {
    const QString folder = QStringLiteral("%1x%1/apps").arg(size);
    const QString path = out.filePath(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
    if (!out.mkpath(folder) || !DrawIcon(size).save(path, "PNG")) return fail(path);
  }
  const QString path = out.filePath(QStringLiteral("scalable/apps/") + name + QStringLiteral(".svg"));
  if (!out.mkpath(QStringLiteral("scalable/apps")) || !WriteText(IconSvg(), path)) return fail(path);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);  // text drawing needs the font database
  if (argc == 4 && QByteArray(argv[1]) == "--icons")
    return WriteIcons(QDir(QString::fromLocal8Bit(argv[2])), QString::fromLocal8Bit(argv[3]));
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_pictures OUTPUT_DIR\n"
                         "       make_pictures --icons OUTPUT_DIR NAME\n");
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
