// The data files of ComData: each ring saved as text with its own magic, and
// any of them loaded back into its ring for review.
//
// A ring of N slots keeps at most N - 1 samples in a file (1999 or 19999),
// the row count the files have always had: a wrapped ring saves its newest
// N - 1 samples, oldest first, and a load stops after N - 1 rows, ignoring
// the rest of a longer file.
#include <QFile>
#include <algorithm>
#include <array>
#include <cmath>
#include <memory>

#include "com_data.h"
#include "data_file_rows.h"
#include "file_replace.h"
#include "number_format.h"
#include "text_scan.h"

namespace quillon {
namespace {

struct Magics {
  QByteArrayView written;
  QByteArrayView old;
};

// By view, which is also the kind code a load reports.
constexpr std::array<Magics, kPlottedViews> kMagics{{
    {"wren1.1setupandstatus", "wrensetupandstatus"},
    {"wren1.1encodersignal", "wrenencodersignal"},
    {"wren1.1signalstrength", "wrensignalstrength"},
    {"wren1.1positionvelocity", "wrenpositionvelocity"},
}};

constexpr std::array<QByteArrayView, kPlottedViews> kColumnHeaders{{
    "Pos\txAD\tyAD\tStatus\tTime",
    "xAD\tyAD\tMag\tAngle\tTime",
    "Pos\txAD\tyAD\tTime",
    "Pos\t\t\tVel\t\t\tTime",
}};

// A full ring as the program writes it stays under 2 MB (20,000 rows of
// well under 100 characters); a larger file cannot be one of its files, and
// reading it whole would only stall the window.
constexpr qint64 kMaxDataFileBytes = qint64{4} << 20;
// Enough of the start of a file to hold the longest magic and its line end.
constexpr qint64 kMagicProbeBytes = 64;

constexpr QByteArrayView kUnitsKey = "PosUnits=";
constexpr QByteArrayView kCountLengthKey = "PositionResMult=";
constexpr QByteArrayView kPositionScaleKey = "PositionInterpMult=";

struct PositionUnits {
  QString units;
  float countLength = 0;
  float positionScale = 0;
};

QByteArray Line(QByteArrayView text) { return text.toByteArray() + kLineEnd; }

QByteArray Header(int view) { return Line(kMagics[view].written) + Line(kColumnHeaders[view]); }

QByteArray Header(int view, const PositionUnits& p) {
  return Line(kMagics[view].written) + Line(kUnitsKey.toByteArray() + p.units.toUtf8()) +
         Line(kCountLengthKey.toByteArray() + FormatShortest(p.countLength).toLatin1()) +
         Line(kPositionScaleKey.toByteArray() + FormatShortest(p.positionScale).toLatin1()) +
         Line(kColumnHeaders[view]);
}

template <class Rows, class Ring>
bool SaveRing(const QString& fileName, QByteArray text, const Ring& ring, int32_t writeIndex,
              bool wrapped) {
  constexpr int32_t size = RingSize(Rows::kView);
  const Recorded rows = RecordedSamples(writeIndex, wrapped, size);
  constexpr qsizetype kRowSizeGuess = 48;
  text.reserve(text.size() + rows.count * kRowSizeGuess);
  for (int32_t i = 0; i < rows.count; ++i) Rows::Append(text, ring, (rows.first + i) % size);
  return ReplaceFile(fileName, text);
}

int KindOfMagic(QByteArrayView line) {
  for (int view = 0; view < kPlottedViews; ++view) {
    if (line == kMagics[view].written || line == kMagics[view].old) return view;
  }
  return -1;
}

// The kind named by the file's first line, read from a few bytes only: a
// file picked under "All Files" may be anything, of any size.
int KindOfFile(QFile& file) {
  const QByteArray start = file.read(kMagicProbeBytes);
  LineCursor lines(start);
  QByteArrayView line;
  if (!lines.Next(line) || file.size() > kMaxDataFileBytes) return -1;
  return KindOfMagic(line);
}

// The three lines after the magic; the keys are taken by position, not
// compared. A multiplier that does not convert makes the file unreadable.
bool ReadPositionUnits(LineCursor& lines, PositionUnits& p) {
  QByteArrayView units, countLength, positionScale;
  if (!lines.Next(units) || !lines.Next(countLength) || !lines.Next(positionScale)) return false;
  p.units = QString::fromUtf8(units).mid(kUnitsKey.size());
  return ParseFloat(countLength.sliced(std::min(kCountLengthKey.size(), countLength.size())),
                    p.countLength) &&
         ParseFloat(positionScale.sliced(std::min(kPositionScaleKey.size(), positionScale.size())),
                    p.positionScale);
}

struct Loaded {
  int32_t rows = 0;
  float elapsed = 0;
  bool valid = true;
};

// The intervals pace the replay, so only a real, non-negative time will do.
bool UsableInterval(float seconds) { return std::isfinite(seconds) && seconds >= 0; }

// Rows up to the ring's capacity; a malformed number or a row cut short by
// the end of the file ends them, and such a row is not counted. An unusable
// interval makes the whole file invalid.
template <class Rows, class Ring>
Loaded ReadRows(QByteArrayView text, Ring& ring) {
  constexpr int32_t capacity = RingSize(Rows::kView) - 1;
  TokenReader numbers(text);
  Loaded loaded;
  while (loaded.rows < capacity && Rows::Read(numbers, ring, loaded.rows)) {
    if (!UsableInterval(ring.interval[loaded.rows])) return {.valid = false};
    loaded.elapsed += ring.interval[loaded.rows];
    ++loaded.rows;
  }
  return loaded;
}

// Through a scratch ring, so that a file refused after some of its rows
// leaves the data loaded before as it was.
template <class Rows, class Ring>
Loaded LoadRows(QByteArrayView text, Ring& ring) {
  const auto scratch = std::make_unique<Ring>();
  const Loaded loaded = ReadRows<Rows>(text, *scratch);
  if (loaded.valid) ring = *scratch;
  return loaded;
}

Loaded ReadRowsOfKind(ComData& data, int kind, QByteArrayView text) {
  switch (kind) {
    case StatusView:
      return LoadRows<StatusRows>(text, data.Status());
    case SignalView:
      return LoadRows<SignalRows>(text, data.Signal());
    case StrengthView:
      return LoadRows<StrengthRows>(text, data.Strength());
    default:
      return LoadRows<PositionRows>(text, data.Position());
  }
}

// Loaded data is reviewed, not continued: the next live start discards it,
// and a replay plays every loaded row from slot 0.
void PublishLoaded(ComData& data, int view, const Loaded& loaded) {
  data.WriteIndex[view] = loaded.rows;
  data.BufferWrapped[view] = false;
  data.ClearPending[view] = true;
  data.ElapsedTime[view] = loaded.elapsed;
  data.ReviewCount[view] = loaded.rows;
  // With no rows, the start of the window is the "nothing recorded" slot -1
  // that a live run leaves, so that a replay start finds nothing to play.
  data.ReviewIndex[view] = loaded.rows > 0 ? 0 : -1;
  data.ReviewTime[view] = 0.0f;
}

}  // namespace

bool ComData::SaveStatusData(const QString& fileName, const QString& units, float countLength,
                             float positionScale) const {
  return SaveRing<StatusRows>(fileName, Header(StatusView, {units, countLength, positionScale}),
                              Status(), WriteIndex[StatusView], BufferWrapped[StatusView]);
}

bool ComData::SaveSignalData(const QString& fileName) const {
  return SaveRing<SignalRows>(fileName, Header(SignalView), Signal(), WriteIndex[SignalView],
                              BufferWrapped[SignalView]);
}

bool ComData::SaveStrengthData(const QString& fileName, const QString& units, float countLength,
                               float positionScale) const {
  return SaveRing<StrengthRows>(fileName, Header(StrengthView, {units, countLength, positionScale}),
                                Strength(), WriteIndex[StrengthView], BufferWrapped[StrengthView]);
}

bool ComData::SavePositionData(const QString& fileName, const QString& units, float countLength,
                               float positionScale) const {
  return SaveRing<PositionRows>(fileName, Header(PositionView, {units, countLength, positionScale}),
                                Position(), WriteIndex[PositionView], BufferWrapped[PositionView]);
}

LoadResult ComData::LoadData(const QString& fileName) {
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly)) return {};
  const int kind = KindOfFile(file);
  if (kind < 0 || !file.seek(0)) return {};
  const QByteArray text = file.readAll();
  LineCursor lines(text);
  QByteArrayView line;
  lines.Next(line);  // the magic
  PositionUnits units;
  if (kind != SignalView && !ReadPositionUnits(lines, units)) return {};
  lines.Next(line);  // the column headers
  const Loaded loaded = ReadRowsOfKind(*this, kind, lines.Rest());
  if (!loaded.valid) return {};
  PublishLoaded(*this, kind, loaded);
  LoadResult result;
  result.ok = true;
  result.kind = kind;
  result.rows = loaded.rows;
  if (kind != SignalView) {
    result.units = units.units;
    result.countLength = units.countLength;
    result.positionScale = units.positionScale;
  }
  return result;
}

}  // namespace quillon
