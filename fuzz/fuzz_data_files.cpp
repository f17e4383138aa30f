// A data file of any content is loaded into a connection's ring. A file that
// loads must be written again by the saver of its kind and read back as the
// same data: times are written with fewer digits than a float holds, so the
// first save may differ from the input, but a save of the reloaded data must
// equal the first save byte for byte. A file that is refused changes nothing.
#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <array>
#include <cmath>
#include <optional>

#include "com_data.h"
#include "fuzz_check.h"
#include "idle_window.h"

namespace {

using quillon::ComData;
using quillon::kPlottedViews;
using quillon::LoadResult;

// The first line of each kind, by view, in its current and its old spelling.
constexpr std::array<std::array<const char*, 2>, kPlottedViews> kMagics{{
    {"wren1.1setupandstatus", "wrensetupandstatus"},
    {"wren1.1encodersignal", "wrenencodersignal"},
    {"wren1.1signalstrength", "wrensignalstrength"},
    {"wren1.1positionvelocity", "wrenpositionvelocity"},
}};

// The kind the first line names, if it names one.
std::optional<int> KindNamed(const QByteArray& text) {
  qsizetype end = 0;
  while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
  const QByteArray first = text.left(end);
  for (int view = 0; view < kPlottedViews; ++view) {
    for (const char* magic : kMagics[view])
      if (first == magic) return view;
  }
  return std::nullopt;
}

// Zero is written without its sign, so -0 comes back as 0.
bool SameFloat(float a, float b) { return (std::isnan(a) && std::isnan(b)) || a == b; }

struct Fixture {
  QTemporaryDir dir;
  quillon::IdleWindow window;
  // Large rings: one connection serves every input of the process.
  ComData data{1, window};
  // What each kind's ring saved after its last load, and the units it was
  // saved with, to tell that a refused file left the ring alone.
  std::array<std::optional<QByteArray>, kPlottedViews> lastSaved;
  std::array<LoadResult, kPlottedViews> lastUnits;

  QString Path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }

  bool Save(int kind, const QString& file, const LoadResult& r) const {
    switch (kind) {
      case quillon::StatusView:
        return data.SaveStatusData(file, r.units, r.countLength, r.positionScale);
      case quillon::SignalView:
        return data.SaveSignalData(file);
      case quillon::StrengthView:
        return data.SaveStrengthData(file, r.units, r.countLength, r.positionScale);
      default:
        return data.SavePositionData(file, r.units, r.countLength, r.positionScale);
    }
  }

  QByteArray SavedBytes(int kind, const LoadResult& r) const {
    const QString file = Path("saved");
    CHECK(Save(kind, file, r));
    QFile saved(file);
    CHECK(saved.open(QIODevice::ReadOnly));
    return saved.readAll();
  }

  // The published review state of a view.
  auto State(int v) const {
    return std::tuple(data.WriteIndex[v].load(), data.BufferWrapped[v].load(),
                      data.ReviewCount[v].load(), data.ReviewIndex[v].load(),
                      data.ClearPending[v].load());
  }
};

Fixture& TheFixture() {
  static Fixture fixture;
  CHECK(fixture.dir.isValid());
  return fixture;
}

void CheckLoaded(Fixture& f, const LoadResult& first) {
  const int kind = first.kind;
  CHECK(kind >= 0 && kind < kPlottedViews);
  CHECK(first.rows >= 0 && first.rows < quillon::RingSize(kind));
  CHECK(f.State(kind) == std::tuple(first.rows, false, first.rows, first.rows > 0 ? 0 : -1, true));
  if (kind == quillon::SignalView) CHECK(first.units.isEmpty());

  const QByteArray once = f.SavedBytes(kind, first);
  const QString copy = f.Path("copy");
  {
    QFile file(copy);
    CHECK(file.open(QIODevice::WriteOnly) && file.write(once) == once.size());
  }
  const LoadResult again = f.data.LoadData(copy);
  CHECK(again.ok && again.kind == kind && again.rows == first.rows);
  // Units travel as UTF-8, so only what UTF-8 can carry comes back.
  CHECK(again.units == QString::fromUtf8(first.units.toUtf8()));
  CHECK(SameFloat(again.countLength, first.countLength));
  CHECK(SameFloat(again.positionScale, first.positionScale));
  const QByteArray twice = f.SavedBytes(kind, again);
  if (once != twice) {
    std::fprintf(stderr, "first save:\n%s\nsecond save:\n%s\n", once.constData(),
                 twice.constData());
  }
  CHECK(once == twice);
  f.lastSaved[kind] = twice;
  f.lastUnits[kind] = again;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Fixture& f = TheFixture();
  const QByteArray text(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const QString input = f.Path("input");
  {
    QFile file(input);
    CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    CHECK(file.write(text) == text.size());
  }
  decltype(f.State(0)) before[kPlottedViews];
  for (int v = 0; v < kPlottedViews; ++v) before[v] = f.State(v);

  const LoadResult first = f.data.LoadData(input);
  if (first.ok) {
    CheckLoaded(f, first);
    return 0;
  }
  CHECK(first.kind == -1 && first.rows == 0);
  for (int v = 0; v < kPlottedViews; ++v) CHECK(f.State(v) == before[v]);
  // A refused file of a known kind leaves that kind's ring as it was.
  const std::optional<int> named = KindNamed(text);
  if (named && f.lastSaved[*named])
    CHECK(f.SavedBytes(*named, f.lastUnits[*named]) == *f.lastSaved[*named]);
  return 0;
}
