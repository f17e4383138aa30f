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
const QColor kVerdictColours[] = {QColor(0, 140, 0), QColor(190, 140, 0), QColor(200, 0, 0)};

// Draws top to bottom, starting a new page when the next block does not fit.
class PageCursor {
 public:
  PageCursor(QPdfWriter& writer, QPainter& painter)
      : writer_(writer), painter_(painter), width_(painter.device()->width() - 2 * kMargin),
        bottom_(painter.device()->height() - kMargin) {}

  void Title(const QString& text) {
    painter_.setFont(QFont(QStringLiteral("Sans Serif"), 16, QFont::Bold));
    Text(text, 110);
  }
  void Heading(const QString& text) {
    Room(160);
    y_ += 40;
    painter_.setFont(QFont(QStringLiteral("Sans Serif"), 12, QFont::Bold));
    Text(text, 80);
  }
  // A label and its value in two columns, the value in a verdict's colour.
  void Row(const QString& label, const QString& value, const QColor& colour = Qt::black) {
    Room(60);
    painter_.setFont(QFont(QStringLiteral("Sans Serif"), 10));
    painter_.setPen(Qt::black);
    painter_.drawText(QRect(kMargin, y_, width_ / 2, 60), Qt::AlignLeft | Qt::AlignVCenter, label);
    painter_.setPen(colour);
    painter_.drawText(QRect(kMargin + width_ / 2, y_, width_ / 2, 60),
                      Qt::AlignLeft | Qt::AlignVCenter, value);
    painter_.setPen(Qt::black);
    y_ += 60;
  }
  void Text(const QString& text, int height) {
    Room(height);
    painter_.drawText(QRect(kMargin, y_, width_, height), Qt::AlignLeft | Qt::AlignVCenter, text);
    y_ += height;
  }
  void Picture(const QImage& image, const QString& caption) {
    if (image.isNull()) return;
    const int side = width_ / 2;
    const int height = side * image.height() / std::max(1, image.width());
    Room(height + 80);
    painter_.drawImage(QRect(kMargin, y_, side, height), image);
    y_ += height;
    painter_.setFont(QFont(QStringLiteral("Sans Serif"), 9));
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

void Alignment(PageCursor& page, const SetupReport& r) {
  page.Heading(QStringLiteral("Alignment"));
  if (const auto* refusal = std::get_if<measure::FitRefusal>(&r.alignment)) {
    page.Row(QStringLiteral("No figures"), QString::fromUtf8(measure::RefusalText(*refusal)));
    return;
  }
  const auto shown = [](double v, int decimals) {
    return QString::fromStdString(measure::FormatValue(v, decimals));
  };
  for (const measure::FigureRow& row :
       measure::FigureRows(std::get<measure::AlignmentFigures>(r.alignment), r.tolerances)) {
    QString value = QStringLiteral("%1 %2  (%3 to %4)")
                        .arg(shown(row.figure.value, row.decimals), QString::fromLatin1(row.unit),
                             shown(row.figure.min, row.decimals),
                             shown(row.figure.max, row.decimals));
    if (row.band) value += QStringLiteral("  ") + QString::fromLatin1(row.band);
    if (row.verdict)
      value += QStringLiteral("   (%1)").arg(QString::fromLatin1(measure::VerdictName(*row.verdict)));
    const QColor colour =
        row.verdict ? kVerdictColours[static_cast<int>(*row.verdict)] : QColor(Qt::black);
    page.Row(QString::fromLatin1(row.label), value, colour);
  }
}

bool WritePdf(const SetupReport& r, const ReportPictures& pictures, const QString& path) {
  QPdfWriter writer(path);
  writer.setPageSize(QPageSize(QPageSize::A4));
  writer.setResolution(kDpi);
  writer.setTitle(QStringLiteral("Veritrak II set-up report"));
  writer.setCreator(QStringLiteral("Quillon"));
  QPainter painter;
  if (!painter.begin(&writer)) return false;
  PageCursor page(writer, painter);
  page.Title(QStringLiteral("Veritrak II set-up report"));
  page.Row(QStringLiteral("Date"), r.taken.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
  if (r.connected) {
    page.Row(QStringLiteral("Port"), r.port + QStringLiteral(" (") + r.device + ')');
  } else {
    page.Row(QStringLiteral("Electronics"), QStringLiteral("none connected (demo mode)"));
    if (!r.loaded.isEmpty()) page.Row(QStringLiteral("Loaded data"), r.loaded);
  }
  Fields(page, QStringLiteral("Electronics"), r.identification);
  Fields(page, QStringLiteral("Set-up"), r.setup);
  Fields(page, QStringLiteral("Status"), r.status);
  Alignment(page, r);
  if (!pictures.lissajous.isNull() || !pictures.strength.isNull())
    page.Heading(QStringLiteral("Signals"));
  page.Picture(pictures.lissajous, QStringLiteral("Encoder signal (Lissajous figure)"));
  page.Picture(pictures.strength, QStringLiteral("Signal strength against position, last sweep"));
  page.Heading(QStringLiteral("Alarm history"));
  painter.setFont(QFont(QStringLiteral("Monospace"), 8));
  if (r.alarmHistory.isEmpty()) page.Text(QStringLiteral("No alarms logged."), 60);
  for (const QString& entry : r.alarmHistory) page.Text(entry.simplified(), 50);
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
