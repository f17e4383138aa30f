#include "ui_font.h"

#include <QFontDatabase>

namespace quillon {

QString SansFamily() {
  static const QString family = QFontDatabase::hasFamily("Arial")
                                    ? QStringLiteral("Arial")
                                    : QStringLiteral("Liberation Sans");
  return family;
}

QFont SansFont(int pixelSize, bool bold) {
  QFont font(SansFamily());
  font.setPixelSize(pixelSize);
  font.setBold(bold);
  return font;
}

}  // namespace quillon
