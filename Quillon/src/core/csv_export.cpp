#include "csv_export.h"

#include <QStringList>
#include <cmath>

#include "com_data.h"
#include "data_file_rows.h"
#include "file_replace.h"
#include "number_format.h"

namespace quillon {
namespace {

// Wide enough that a position is never written in scientific form.
constexpr int kPositionPrecision = 20;

// Quotes only where a separator, a quote or a line break would otherwise
// end the field early.
QByteArray Field(const QString& text) {
  QByteArray field = text.toUtf8();
  const bool plain = !field.contains(',') && !field.contains('"') && !field.contains('\r') &&
                     !field.contains('\n');
  return plain ? field : '"' + field.replace("\"", "\"\"") + '"';
}

void AppendRow(QByteArray& out, const QStringList& fields) {
  for (qsizetype i = 0; i < fields.size(); ++i) {
    if (i > 0) out += ',';
    out += Field(fields[i]);
  }
  out += "\r\n";
}

QString Number(int64_t value) { return QString::number(value); }
QString Shortest(float value) { return FormatShortest(value); }

QString Position(int32_t count, const CsvUnits& u) {
  const float scaled = std::floor(static_cast<float>(count) * u.positionScale);
  return FormatFixed(static_cast<double>(scaled) * u.countLength, kPositionPrecision,
                     u.positionDigits);
}

QString Velocity(float countsPerSecond, const CsvUnits& u) {
  return Shortest(countsPerSecond * u.positionScale * u.countLength);
}

QString InUnits(const char* column, const QString& units) {
  return QString::fromLatin1(column) + QStringLiteral(" (") + units + QLatin1Char(')');
}

const QString kSine = QStringLiteral("sine (counts)");
const QString kCosine = QStringLiteral("cosine (counts)");
const QString kInterval = QStringLiteral("interval (s)");

// Each kind: its ring, its header row and the fields of one slot.
struct StatusCsv {
  static constexpr int kView = StatusView;
  static const StatusRing& RingOf(const ComData& d) { return d.Status(); }
  static QStringList Header(const QString& units) {
    return {InUnits("position", units), kSine, kCosine, QStringLiteral("status"), kInterval};
  }
  static QStringList Row(const StatusRing& r, int32_t s, const CsvUnits& u) {
    return {Position(r.position[s], u), Number(r.x[s]), Number(r.y[s]), Number(r.status[s]),
            Shortest(r.interval[s])};
  }
};

struct SignalCsv {
  static constexpr int kView = SignalView;
  static const SignalRing& RingOf(const ComData& d) { return d.Signal(); }
  static QStringList Header(const QString&) {
    return {kSine, kCosine, QStringLiteral("magnitude (counts)"), QStringLiteral("angle (counts)"),
            kInterval};
  }
  static QStringList Row(const SignalRing& r, int32_t s, const CsvUnits&) {
    return {Number(r.x[s]), Number(r.y[s]), Number(r.magnitude[s]), Number(r.angle[s]),
            Shortest(r.interval[s])};
  }
};

struct StrengthCsv {
  static constexpr int kView = StrengthView;
  static const StrengthRing& RingOf(const ComData& d) { return d.Strength(); }
  static QStringList Header(const QString& units) {
    return {InUnits("position", units), kSine, kCosine, kInterval};
  }
  static QStringList Row(const StrengthRing& r, int32_t s, const CsvUnits& u) {
    return {Position(r.position[s], u), Number(r.x[s]), Number(r.y[s]), Shortest(r.interval[s])};
  }
};

struct PositionCsv {
  static constexpr int kView = PositionView;
  static const PositionRing& RingOf(const ComData& d) { return d.Position(); }
  static QStringList Header(const QString& units) {
    return {InUnits("position", units), InUnits("velocity", units + QStringLiteral("/s")),
            kInterval};
  }
  static QStringList Row(const PositionRing& r, int32_t s, const CsvUnits& u) {
    return {Position(r.position[s], u), Velocity(r.velocity[s], u), Shortest(r.interval[s])};
  }
};

template <class Kind>
QByteArray KindCsv(const ComData& data, const CsvUnits& units) {
  constexpr int32_t size = RingSize(Kind::kView);
  const Recorded rows =
      RecordedSamples(data.WriteIndex[Kind::kView], data.BufferWrapped[Kind::kView], size);
  QByteArray csv;
  AppendRow(csv, Kind::Header(units.name));
  for (int32_t i = 0; i < rows.count; ++i)
    AppendRow(csv, Kind::Row(Kind::RingOf(data), (rows.first + i) % size, units));
  return csv;
}

}  // namespace

QByteArray BufferCsv(const ComData& data, int view, const CsvUnits& units) {
  switch (view) {
    case StatusView:
      return KindCsv<StatusCsv>(data, units);
    case SignalView:
      return KindCsv<SignalCsv>(data, units);
    case StrengthView:
      return KindCsv<StrengthCsv>(data, units);
    default:
      return KindCsv<PositionCsv>(data, units);
  }
}

bool ExportCsv(const ComData& data, int view, const CsvUnits& units, const QString& fileName) {
  return ReplaceFile(fileName, BufferCsv(data, view, units));
}

}  // namespace quillon
