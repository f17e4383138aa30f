#include "alignment_readout.h"

#include <string_view>

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

QString ValueHtml(const measure::FigureRow& row) {
  QString value = Shown(row.figure.value, row.decimals) + ' ' + QString::fromLatin1(row.unit);
  if (row.band) value += ' ' + QString::fromLatin1(row.band);
  return QStringLiteral("<font color=\"%1\">%2</font>")
      .arg(QString::fromLatin1(ColourOf(row.verdict)), value);
}

// A figure with its spread; an offset's % of the amplitude, which is what is
// judged, beside its mV.
QString RowHtml(const measure::FigureRow& row, const measure::FigureRow* percent) {
  return QStringLiteral("<br>%1<br>&nbsp;%2%3<font color=\"#a0a0a0\"> (%4 to %5)</font>")
      .arg(QString::fromLatin1(row.label), ValueHtml(row),
           percent ? QStringLiteral(" = ") + ValueHtml(*percent) : QString(),
           Shown(row.figure.min, row.decimals), Shown(row.figure.max, row.decimals));
}

QString Html(const measure::AlignmentFit& fit, const measure::AlignmentTolerances& tolerances) {
  QString html = QStringLiteral("<b>Alignment</b>");
  if (const auto* refusal = std::get_if<measure::FitRefusal>(&fit))
    return html + QStringLiteral("<p>%1</p>").arg(QString::fromUtf8(measure::RefusalText(*refusal)));
  const auto& figures = std::get<measure::AlignmentFigures>(fit);
  html += QStringLiteral("<br><font color=\"#a0a0a0\">%1 samples, %2 periods; "
                         "(spread along the travel)</font>")
              .arg(figures.samples)
              .arg(figures.periods, 0, 'f', 0);
  const std::vector<measure::FigureRow> rows = measure::FigureRows(figures, tolerances);
  for (size_t i = 0; i < rows.size(); ++i) {
    const bool pair = i + 1 < rows.size() && std::string_view(rows[i].label) == rows[i + 1].label;
    html += RowHtml(rows[i], pair ? &rows[i + 1] : nullptr);
    if (pair) ++i;
  }
  return html;
}

}  // namespace

AlignmentReadout::AlignmentReadout(QWidget* parent) : QLabel(parent) {
  setObjectName(QStringLiteral("AlignmentReadout"));
  setTextFormat(Qt::RichText);
  setWordWrap(true);
  setAlignment(Qt::AlignLeft | Qt::AlignTop);
  setStyleSheet(QStringLiteral("background: black; color: white; padding: 4px; font-size: 11px;"));
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
