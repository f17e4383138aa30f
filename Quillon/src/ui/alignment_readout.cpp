#include "alignment_readout.h"

#include "measure/figure_rows.h"
#include "signal_words.h"

namespace quillon {
namespace {

// A fit far quicker than the refresh.
constexpr int kRefreshMs = 250;

const char* ColourOf(const std::optional<measure::Verdict>& verdict) {
  if (!verdict) return "#ffffff";
  switch (*verdict) {
    case measure::Verdict::Good: return "#30e030";
    case measure::Verdict::Marginal: return "#f0d000";
    case measure::Verdict::Poor: break;
  }
  return "#ff4040";
}

QString Shown(double value, int decimals) {
  return QString::fromStdString(measure::FormatValue(value, decimals));
}

QString RowHtml(const measure::FigureRow& row) {
  const measure::Figure& f = row.figure;
  QString value = Shown(f.value, row.decimals) + ' ' + QString::fromLatin1(row.unit);
  if (row.band) value += QStringLiteral(" ") + QString::fromLatin1(row.band);
  return QStringLiteral("<br>%1<br><font color=\"%2\">&nbsp;%3</font>"
                        "<font color=\"#a0a0a0\"> (%4 to %5)</font>")
      .arg(QString::fromLatin1(row.label), QString::fromLatin1(ColourOf(row.verdict)), value,
           Shown(f.min, row.decimals), Shown(f.max, row.decimals));
}

QString Html(const measure::AlignmentFit& fit, const measure::AlignmentTolerances& tolerances) {
  QString html = QStringLiteral("<b>Alignment</b>");
  if (const auto* refusal = std::get_if<measure::FitRefusal>(&fit))
    return html + QStringLiteral("<p>%1</p>").arg(QString::fromUtf8(measure::RefusalText(*refusal)));
  const auto& figures = std::get<measure::AlignmentFigures>(fit);
  html += QStringLiteral("<br><font color=\"#a0a0a0\">%1 samples over %2 signal periods; "
                         "spread along the travel in brackets</font>")
              .arg(figures.samples)
              .arg(figures.periods, 0, 'f', 0);
  for (const measure::FigureRow& row : measure::FigureRows(figures, tolerances))
    html += RowHtml(row);
  return html;
}

}  // namespace

AlignmentReadout::AlignmentReadout(QWidget* parent) : QLabel(parent) {
  setObjectName(QStringLiteral("AlignmentReadout"));
  setTextFormat(Qt::RichText);
  setWordWrap(true);
  setAlignment(Qt::AlignLeft | Qt::AlignTop);
  setStyleSheet(QStringLiteral("background: black; color: white; padding: 4px;"));
  refresh_.setInterval(kRefreshMs);
  connect(&refresh_, &QTimer::timeout, this, &AlignmentReadout::Refresh);
  setText(Html(latest_, tolerances_));
}

void AlignmentReadout::Add(const SignalSample& sample) {
  recent_.push_back({SignalVolts(sample.x), SignalVolts(sample.y)});
  if (recent_.size() > measure::kFitWindowSamples) recent_.pop_front();
  added_ = true;
}

void AlignmentReadout::Clear() {
  recent_.clear();
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
  latest_ = measure::FitAlignment(std::vector(recent_.begin(), recent_.end()));
  setText(Html(latest_, tolerances_));
}

}  // namespace quillon
