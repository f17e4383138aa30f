#include "file_replace.h"

#include <QSaveFile>

namespace quillon {

bool ReplaceFile(const QString& path, QByteArrayView bytes) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  // Without a commit the temporary file is discarded when `file` goes.
  if (file.write(bytes.data(), bytes.size()) != bytes.size()) return false;
  return file.commit();
}

}  // namespace quillon
