// The two settings files of any content: the input up to its first NUL byte is
// "Quillon.ini", the rest "grating2.ini" (no NUL: no "grating2.ini" at all).
// Whatever was read must survive being written and read again: the second
// read gives the settings of the first (floats as far as their written
// digits go), a third read the second exactly, and a second write the bytes
// of the first.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "fuzz_check.h"
#include "settings_files.h"

namespace {

using quillon::Settings;

constexpr char kMainFile[] = "Quillon.ini";
constexpr char kNamesFile[] = "grating2.ini";

QByteArray Contents(const QDir& dir, const char* name) {
  QFile file(dir.filePath(QString::fromLatin1(name)));
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void Put(const QDir& dir, const char* name, QByteArrayView bytes) {
  QFile file(dir.filePath(QString::fromLatin1(name)));
  CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  CHECK(file.write(bytes.data(), bytes.size()) == bytes.size());
}

// The floats are written with a few digits only: those of the first read are
// compared through the bytes written for them.
Settings WithFloatsOf(Settings s, const Settings& other) {
  s.SignalLevelMult = other.SignalLevelMult;
  s.MinimumCircle = other.MinimumCircle;
  s.MaximumCircle = other.MaximumCircle;
  return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static QTemporaryDir installDir;
  CHECK(installDir.isValid());
  const QString path = installDir.path();
  const QDir dir(path);

  const QByteArrayView input(data, static_cast<qsizetype>(size));
  const qsizetype nul = input.indexOf('\0');
  QFile::remove(dir.filePath(QString::fromLatin1(kNamesFile)));
  Put(dir, kMainFile, nul < 0 ? input : input.first(nul));
  if (nul >= 0) Put(dir, kNamesFile, input.sliced(nul + 1));

  const Settings first = quillon::ReadSettings(path);
  quillon::WriteSettings(path, first);
  const QByteArray main1 = Contents(dir, kMainFile), names1 = Contents(dir, kNamesFile);
  const Settings second = quillon::ReadSettings(path);
  quillon::WriteSettings(path, second);
  const QByteArray main2 = Contents(dir, kMainFile), names2 = Contents(dir, kNamesFile);
  const Settings third = quillon::ReadSettings(path);

  if (main1 != main2) std::fprintf(stderr, "%s\n---\n%s\n", main1.constData(), main2.constData());
  CHECK(main1 == main2);
  CHECK(names1 == names2);
  CHECK(WithFloatsOf(first, second) == second);
  CHECK(second == third);
  return 0;
}
