// The window's typeface: Arial where installed, otherwise Liberation Sans,
// which has the same metrics, so texts fit the design geometry either way.
#pragma once

#include <QFont>
#include <QString>

namespace quillon {

QString SansFamily();
QFont SansFont(int pixelSize, bool bold = false);

}  // namespace quillon
