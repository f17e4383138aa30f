#include "alignment_readout.h"

#include "alignment_rows.h"
#include "signal_words.h"

namespace quillon {
namespace {

// A few turns of the circle at the wire's rate, and a fit far quicker than
// the refresh.
constexpr size_t kRecentSamples = 1500;
constexpr int kRefreshMs = 250;

const char* ColourOf(const std::optional<Verdict>& verdict) {
  if (!verdict) return "#ffffff";
  switch (*verdict) {
    case Verdict::Good: return "#30e030";
    case Verdict::Marginal: return "#f0d000";
    case Verdict::Poor: break;
  }
  return "#ff4040";
}

QString Html(const AlignmentFit& fit, const AlignmentTolerances& tolerances) {
  QString html = QStringLiteral("<b>Alignment</b>");
  if (const auto* refusal = std::get_if<FitRefusal>(&fit))
    return html + QStringLiteral("<p>%1</p>").arg(QString::fromLatin1(RefusalText(*refusal)));
  for (const FigureRow& row : FigureRows(std::get<AlignmentFigures>(fit), tolerances)) {
    const bool volts = row.unit[0] == 'V';
    html += QStringLiteral("<br>%1<br><font color=\"%2\">&nbsp;%3 %4</font>")
                .arg(QString::fromLatin1(row.label), QString::fromLatin1(ColourOf(row.verdict)))
                .arg(volts ? row.value * 1000 : row.value, 0, 'f', volts ? 0 : 1)
                .arg(volts ? QStringLiteral("m") + row.unit : QString::fromLatin1(row.unit));
  }
  return html;
}

}  // namespace

AlignmentReadout::AlignmentReadout(QWidget* parent) : QLabel(parent) {
  setObjectName(QStringLiteral("AlignmentReadout"));
  setTextFormat(Qt::RichText);
  setWordWrap(true);
  setAlignment(Qt::AlignLeft | Qt::AlignTop);
  setStyleSheet(QStringLiteral("background: black; color: white; padding: 4px;"));
  recent_.reserve(kRecentSamples);
  refresh_.setInterval(kRefreshMs);
  connect(&refresh_, &QTimer::timeout, this, &AlignmentReadout::Refresh);
  setText(Html(latest_, tolerances_));
}

void AlignmentReadout::Add(const SignalSample& sample) {
  const SignalPoint point{SignalVolts(sample.x), SignalVolts(sample.y)};
  if (recent_.size() < kRecentSamples)
    recent_.push_back(point);
  else
    recent_[next_] = point;
  next_ = (next_ + 1) % kRecentSamples;
  added_ = true;
}

void AlignmentReadout::Clear() {
  recent_.clear();
  next_ = 0;
  added_ = true;
}

void AlignmentReadout::showEvent(QShowEvent* event) {
  QLabel::showEvent(event);
  refresh_.start();
}

void AlignmentReadout::hideEvent(QHideEvent* event) {
  refresh_.stop();
  QLabel::hideEvent(event);
}

void AlignmentReadout::Refresh() {
  if (!added_) return;
  added_ = false;
  latest_ = FitAlignment(recent_);
  setText(Html(latest_, tolerances_));
}

}  // namespace quillon
