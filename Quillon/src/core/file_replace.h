// Replacing a file as a whole, so that a failed or interrupted save leaves
// the previous file (or none) rather than a half-written one.
#pragma once

#include <QByteArrayView>
#include <QString>

namespace quillon {

// Writes `bytes` to a temporary file beside `path` and renames it over
// `path` only when everything was written. False when nothing was replaced.
bool ReplaceFile(const QString& path, QByteArrayView bytes);

}  // namespace quillon
