// The alignment figures of a moving read-head, measured as the window's
// read-out measures them: once with a verdict for scripts, or as a live
// meter for a technician turning the screws.
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <deque>
#include <iostream>
#include <iterator>

#include "commands.h"
#include "electronics.h"
#include "exit_status.h"
#include "interrupt.h"
#include "measure/figure_rows.h"
#include "record_stream.h"

namespace probelink_cli {
namespace {

using Clock = std::chrono::steady_clock;

// The registers the window's encoder-signal view streams, in its order, so
// that both see the signal at the same rate.
const std::vector<uint8_t> kSignalRegisters(std::begin(reg::kLissajous), std::end(reg::kLissajous));
// As often as the window's read-out refreshes.
constexpr std::chrono::milliseconds kWatchInterval(250);
// Several signal periods of a head moving at a working speed.
constexpr double kAlignSeconds = 5;

measure::SignalPoint PointOf(const std::vector<uint16_t>& record) {
  return {Signed12(record[0]) * measure::kVoltsPerCount,
          Signed12(record[1]) * measure::kVoltsPerCount};
}

// JSON takes numbers, people the row's decimals; neither ever sees -0.
Document Shown(double value, int decimals, bool json) {
  if (!json) return measure::FormatValue(value, decimals);
  const double scale = std::pow(10.0, decimals);
  return std::round(value * scale) / scale + 0.0;
}

Document VerdictOf(const measure::FigureRow& row) {
  return row.verdict ? Document(measure::VerdictName(*row.verdict)) : Document();
}

Document FigureTable(const std::vector<measure::FigureRow>& rows, bool json) {
  Document table = Document::array();
  for (const measure::FigureRow& row : rows) {
    const measure::Figure& f = row.figure;
    table.push_back({{"figure", row.name},
                     {"value", Shown(f.value, row.decimals, json)},
                     {"unit", row.unit},
                     {"min", Shown(f.min, row.decimals, json)},
                     {"max", Shown(f.max, row.decimals, json)},
                     {"band", row.band ? Document(row.band) : Document()},
                     {"verdict", VerdictOf(row)},
                     {"tolerance", row.tolerance}});
  }
  return table;
}

struct Measurement {
  std::deque<measure::SignalPoint> points;
  Clock::time_point start = Clock::now();
  double Seconds() const { return std::chrono::duration<double>(Clock::now() - start).count(); }
};

// The figures of what was measured, or the refusal as a failure.
std::vector<measure::FigureRow> RowsOf(const measure::AlignmentFit& fit,
                                       const measure::AlignmentTolerances& tolerances,
                                       const Session& session) {
  if (const auto* refusal = std::get_if<measure::FitRefusal>(&fit))
    throw Failure(kCommunicationFailure, session.Name() + ": " + measure::RefusalText(*refusal));
  return measure::FigureRows(std::get<measure::AlignmentFigures>(fit), tolerances);
}

void Once(const Invocation& invocation, const measure::AlignmentTolerances& tolerances,
          Session& session, RecordStream& stream) {
  Measurement m;
  while (!Interrupted() && m.Seconds() < invocation.seconds.value_or(kAlignSeconds))
    m.points.push_back(PointOf(stream.Next()));
  const double seconds = m.Seconds();
  const measure::AlignmentFit fit =
      measure::FitAlignment(std::vector(m.points.begin(), m.points.end()));
  const auto rows = RowsOf(fit, tolerances, session);
  const auto& figures = std::get<measure::AlignmentFigures>(fit);
  const measure::Verdict verdict = measure::OverallVerdict(rows);
  Document document = session.Describe();
  document.update({{"samples", figures.samples},
                   {"seconds", std::round(seconds * 10) / 10},
                   {"periods", std::round(figures.periods * 10) / 10},
                   {"figures", FigureTable(rows, invocation.json)},
                   {"verdict", measure::VerdictName(verdict)}});
  PrintDocument(std::cout, document, invocation.json);
  if (verdict == measure::Verdict::Poor)
    throw Failure(kOutOfTolerance, session.Name() + ": out of tolerance");
}

// Whether a figure came nearer its ideal since the last update.
const char* Trend(const measure::FigureRow& now, const measure::FigureRow* before) {
  if (!before || !now.verdict) return "";
  const double ideal = std::string_view(now.name) == "amplitude_ratio" ? 100 : 0;
  const double was = std::fabs(before->figure.value - ideal);
  const double is = std::fabs(now.figure.value - ideal);
  const double step = std::pow(10.0, -now.decimals);
  if (std::fabs(is - was) < step) return " =";
  return is < was ? " ↑ better" : " ↓ worse";
}

class Meter {
 public:
  Meter(const Invocation& invocation, const measure::AlignmentTolerances& tolerances)
      : invocation_(invocation),
        tolerances_(tolerances),
        inPlace_(!invocation.json && isatty(STDOUT_FILENO)),
        printer_(std::cout, invocation.json ? LineStyle::Json : LineStyle::Columns) {}

  // False once standard output is gone. Every update has the same keys, so
  // that a pipe gets steady columns: no figures while refused.
  bool Update(const measure::AlignmentFit& fit, size_t samples, double seconds) {
    Document line = {{"time", std::round(seconds * 10) / 10}, {"samples", samples}};
    std::vector<measure::FigureRow> rows;
    if (const auto* figures = std::get_if<measure::AlignmentFigures>(&fit))
      rows = measure::FigureRows(*figures, tolerances_);
    for (const measure::FigureRow& row : measure::FigureRows({}, tolerances_))
      line[row.name] = nullptr;
    for (const measure::FigureRow& row : rows) line[row.name] = Cell(row);
    line["verdict"] =
        rows.empty() ? Document() : Document(measure::VerdictName(measure::OverallVerdict(rows)));
    const auto* refusal = std::get_if<measure::FitRefusal>(&fit);
    line["refusal"] = refusal ? Document(measure::RefusalText(*refusal)) : Document();
    before_ = std::move(rows);
    return inPlace_ ? Redraw(line) : printer_.Print(line);
  }

 private:
  Document Cell(const measure::FigureRow& row) const {
    if (invocation_.json) return Shown(row.figure.value, row.decimals, true);
    const measure::FigureRow* before = nullptr;
    for (const measure::FigureRow& b : before_)
      if (std::string_view(b.name) == row.name) before = &b;
    return measure::FormatValue(row.figure.value, row.decimals) + " " + row.unit +
           Trend(row, before);
  }

  // The same lines overwritten, as a meter.
  bool Redraw(const Document& line) {
    if (drawn_ > 0) std::cout << "\033[" << drawn_ << "F\033[J";
    PrintDocument(std::cout, line, false);
    drawn_ = static_cast<int>(line.size());
    return static_cast<bool>(std::cout.flush());
  }

  const Invocation& invocation_;
  const measure::AlignmentTolerances& tolerances_;
  const bool inPlace_;
  RecordPrinter printer_;
  std::vector<measure::FigureRow> before_;
  int drawn_ = 0;
};

void Watch(const Invocation& invocation, const measure::AlignmentTolerances& tolerances,
           RecordStream& stream) {
  Measurement m;
  Meter meter(invocation, tolerances);
  auto due = Clock::now() + kWatchInterval;
  while (!Interrupted() && (!invocation.seconds || m.Seconds() < *invocation.seconds)) {
    m.points.push_back(PointOf(stream.Next()));
    if (m.points.size() > measure::kFitWindowSamples) m.points.pop_front();
    if (Clock::now() < due) continue;
    due += kWatchInterval;
    const auto fit = measure::FitAlignment(std::vector(m.points.begin(), m.points.end()));
    if (!meter.Update(fit, m.points.size(), m.Seconds())) return;
  }
}

}  // namespace

void Align(const Invocation& invocation) {
  Session session(invocation.port);
  session.Identify();
  const measure::AlignmentTolerances tolerances =
      invocation.tolerances.empty() ? measure::AlignmentTolerances{}
                                    : measure::ReadTolerances(invocation.tolerances);
  RecordStream stream(session, kSignalRegisters);
  if (invocation.watch)
    Watch(invocation, tolerances, stream);
  else
    Once(invocation, tolerances, session, stream);
}

}  // namespace probelink_cli
