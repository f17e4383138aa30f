#include "setup_report_pdf.h"

#include <QFile>
#include <QFileInfo>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include "file_replace.h"
#include "measure/figure_rows.h"

namespace quillon {
namespace {

constexpr int kDpi = 300;
constexpr int kMargin = 150;  // half an inch
constexpr int kRowHeight = 56;
const QColor kVerdictColours[] = {QColor(0, 140, 0), QColor(190, 140, 0), QColor(200, 0, 0)};
const QColor kNoFigures(110, 110, 110);

QFont Sans(int points, bool bold = false) {
  return QFont(QStringLiteral("Sans Serif"), points, bold ? QFont::Bold : QFont::Normal);
}

// Draws top to bottom, starting a new page when the next block does not fit.
class PageCursor {
 public:
  PageCursor(QPdfWriter& writer, QPainter& painter)
      : writer_(writer), painter_(painter), width_(painter.device()->width() - 2 * kMargin),
        bottom_(painter.device()->height() - kMargin) {}

  int Width() const { return width_; }

  void Title(const QString& text) {
    painter_.setFont(Sans(16, true));
    Text(text, 110);
  }
  // The verdict at a glance: a coloured band with the word, and a line below.
  void Verdict(const QString& word, const QString& sentence, const QColor& colour) {
    Room(260);
    painter_.fillRect(QRect(kMargin, y_, width_, 170), colour);
    painter_.setPen(Qt::white);
    painter_.setFont(Sans(28, true));
    painter_.drawText(QRect(kMargin, y_, width_, 170), Qt::AlignCenter, word);
    painter_.setPen(Qt::black);
    y_ += 180;
    painter_.setFont(Sans(10));
    painter_.drawText(QRect(kMargin, y_, width_, 120), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                      sentence);
    y_ += 130;
  }
  // A heading kept on the page with the first `keep` of what follows it.
  void Heading(const QString& text, int keep = 0) {
    Room(160 + keep);
    y_ += 40;
    painter_.setFont(Sans(12, true));
    Text(text, 80);
  }
  // A label and its value in two columns.
  void Row(const QString& label, const QString& value) {
    Cells({label, value}, {1, 2}, {Qt::black, Qt::black}, false);
  }
  // Cells across the page in proportion to `shares`, each in its colour.
  void Cells(const QStringList& cells, const QList<int>& shares, const QList<QColor>& colours,
             bool bold) {
    Room(kRowHeight);
    painter_.setFont(Sans(8, bold));
    int total = 0;
    for (const int share : shares) total += share;
    int x = kMargin;
    for (qsizetype i = 0; i < cells.size(); ++i) {
      const int w = width_ * shares[i] / total;
      painter_.setPen(colours.value(i, Qt::black));
      painter_.drawText(QRect(x, y_, w - 10, kRowHeight), Qt::AlignLeft | Qt::AlignVCenter,
                        cells[i]);
      x += w;
    }
    painter_.setPen(Qt::black);
    y_ += kRowHeight;
  }
  void Text(const QString& text, int height) {
    Room(height);
    painter_.drawText(QRect(kMargin, y_, width_, height), Qt::AlignLeft | Qt::AlignVCenter, text);
    y_ += height;
  }
  // The height a picture takes on the page, its caption included.
  int PictureHeight(const QImage& image) const {
    if (image.isNull()) return 0;
    const int side = image.width() > image.height() ? width_ : width_ / 2;
    return side * image.height() / std::max(1, image.width()) + 80;
  }
  void Picture(const QImage& image, const QString& caption) {
    if (image.isNull()) return;
    const int side = image.width() > image.height() ? width_ : width_ / 2;
    const int height = side * image.height() / std::max(1, image.width());
    Room(height + 80);
    painter_.drawImage(QRect(kMargin, y_, side, height), image);
    y_ += height;
    painter_.setFont(Sans(9));
    Text(caption, 70);
  }

 private:
  void Room(int height) {
    if (y_ + height <= bottom_) return;
    writer_.newPage();
    y_ = kMargin;
  }

  QPdfWriter& writer_;
  QPainter& painter_;
  const int width_, bottom_;
  int y_ = kMargin;
};

QString Value(const ReportField& f) { return f.unit.isEmpty() ? f.value : f.value + ' ' + f.unit; }

void Fields(PageCursor& page, const QString& heading, const std::vector<ReportField>& fields) {
  if (fields.empty()) return;
  page.Heading(heading);
  for (const ReportField& f : fields) page.Row(f.label, Value(f));
}

void VerdictBand(PageCursor& page, const SetupReport& r) {
  const QString verdict = OverallVerdict(r);
  if (const auto* refusal = std::get_if<measure::FitRefusal>(&r.alignment)) {
    page.Verdict(verdict, QString::fromUtf8(measure::RefusalText(*refusal)), kNoFigures);
    return;
  }
  const int worst = verdict == QLatin1String("PASS") ? 0 : verdict == QLatin1String("MARGINAL") ? 1 : 2;
  const char* const sentences[] = {"Every figure is within its tolerance.",
                                   "Every figure is within tolerance; some are marginal.",
                                   "A figure is out of tolerance: the read-head needs aligning."};
  page.Verdict(verdict, QString::fromLatin1(sentences[worst]), kVerdictColours[worst]);
}

void Alignment(PageCursor& page, const SetupReport& r) {
  const auto* figures = std::get_if<measure::AlignmentFigures>(&r.alignment);
  if (!figures) return;
  page.Heading(QStringLiteral("Alignment"));
  const bool baseline = !r.baseline.isEmpty();
  QStringList head = {"Figure", "Value", "Spread (travel)", "Tolerance", "Verdict"};
  QList<int> shares = {4, 4, 5, 8, 3};
  if (baseline) head << QStringLiteral("Change"), shares << 3;
  page.Cells(head, shares, {}, true);
  const auto shown = [](double v, int decimals) {
    return QString::fromStdString(measure::FormatValue(v, decimals));
  };
  for (const measure::FigureRow& row : measure::FigureRows(*figures, r.tolerances)) {
    const QString unit = QString::fromLatin1(row.unit);
    QString value = shown(row.figure.value, row.decimals) + ' ' + unit;
    if (row.band) value += ' ' + QString::fromLatin1(row.band);
    QStringList cells = {QString::fromLatin1(row.label), value,
                         shown(row.figure.min, row.decimals) + " to " +
                             shown(row.figure.max, row.decimals) + ' ' + unit,
                         QString::fromStdString(row.tolerance),
                         row.verdict ? QString::fromLatin1(measure::VerdictName(*row.verdict)) : QString()};
    if (baseline) {
      const QString name = QString::fromLatin1(row.name);
      cells << (r.baseline.contains(name)
                    ? shown(row.figure.value - r.baseline.value(name), row.decimals) + ' ' + unit
                    : QStringLiteral("-"));
    }
    const QColor colour = row.verdict ? kVerdictColours[static_cast<int>(*row.verdict)] : QColor(Qt::black);
    page.Cells(cells, shares, {Qt::black, colour, Qt::black, Qt::black, colour}, false);
  }
}

void Identification(PageCursor& page, const SetupReport& r) {
  page.Heading(QStringLiteral("Identification"));
  page.Row(QStringLiteral("Software"), r.software);
  page.Row(QStringLiteral("Date"), IsoDate(r.taken));
  if (r.connected) {
    page.Row(QStringLiteral("Port"), r.port + QStringLiteral(" (") + r.device + ')');
  } else {
    page.Row(QStringLiteral("Electronics"), QStringLiteral("none connected (demo mode)"));
    if (!r.loaded.isEmpty()) page.Row(QStringLiteral("Loaded data"), r.loaded);
  }
  for (const auto& [name, value] : r.fields) page.Row(name.left(1).toUpper() + name.mid(1), value);
  for (const ReportField& f : r.identification) page.Row(f.label, Value(f));
  QStringList extent;
  if (r.measuredSeconds > 0) extent << QStringLiteral("%1 s").arg(r.measuredSeconds, 0, 'f', 1);
  if (const auto* f = std::get_if<measure::AlignmentFigures>(&r.alignment))
    extent << QStringLiteral("%1 samples over %2 signal periods").arg(f->samples).arg(f->periods, 0, 'f', 1);
  if (!extent.isEmpty()) page.Row(QStringLiteral("Measured"), extent.join(QStringLiteral(", ")));
}

void Alarms(PageCursor& page, const SetupReport& r) {
  page.Heading(QStringLiteral("Alarms"));
  page.Row(r.measuredSeconds > 0 ? QStringLiteral("Seen while measuring") : QStringLiteral("Lamps lit"),
           r.alarmsSeen.isEmpty() ? QStringLiteral("none") : r.alarmsSeen.join(QStringLiteral(", ")));
  if (r.alarmHistory.isEmpty()) return;
  page.Row(QStringLiteral("History"), QStringLiteral("each change of the alarm situation, newest first"));
  for (const QString& entry : r.alarmHistory) page.Text(entry.simplified(), 50);
}

bool WritePdf(const SetupReport& r, const ReportPictures& pictures, const QString& path) {
  QPdfWriter writer(path);
  writer.setPageSize(QPageSize(QPageSize::A4));
  writer.setResolution(kDpi);
  writer.setTitle(QStringLiteral("Veritrak II set-up report"));
  writer.setCreator(r.software);
  QPainter painter;
  if (!painter.begin(&writer)) return false;
  PageCursor page(writer, painter);
  page.Title(QStringLiteral("Veritrak II set-up report"));
  VerdictBand(page, r);
  Alignment(page, r);
  Identification(page, r);
  Fields(page, QStringLiteral("Set-up"), r.setup);
  Fields(page, QStringLiteral("Status"), r.status);
  Alarms(page, r);
  if (!pictures.lissajous.isNull() || !pictures.strength.isNull())
    page.Heading(QStringLiteral("Signals"),
                 std::max(page.PictureHeight(pictures.lissajous), page.PictureHeight(pictures.strength)));
  page.Picture(pictures.lissajous,
               QStringLiteral("Encoder signal: the measured samples (blue), the fitted ellipse (red)"));
  page.Picture(pictures.strength, QStringLiteral("Signal level against position, with the bands' floors"));
  return painter.end();
}

}  // namespace

bool WriteSetupReport(const SetupReport& report, const ReportPictures& pictures,
                      const QString& pdfPath) {
  const QFileInfo pdf(pdfPath);
  const QString textPath = pdf.path() + '/' + pdf.completeBaseName() + QStringLiteral(".txt");
  return WritePdf(report, pictures, pdfPath) && ReplaceFile(textPath, ReportText(report).toUtf8());
}

}  // namespace quillon
