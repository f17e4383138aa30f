// What the three plots draw from live data, checked in the plot's pixels
// against the samples recorded in the rings.
#include <QDialogButtonBox>
#include <QPushButton>
#include <cmath>

#include "main_form_fixture.h"
#include "plot_drawing.h"

namespace quillon {
namespace {

class PlotsTest : public MainFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    StartLive();
  }

  void EnterLive(const std::function<void()>& input, int code, int view) {
    input();
    Finish(code);
    ASSERT_TRUE(WaitLive(view));
    ASSERT_TRUE(WaitUnlocked());
  }

  void Stop() {
    form_->StopButton->click();
    Finish(20);
  }

  // The pen is two pixels wide: a point covers its own pixel or a neighbour.
  bool Near(QPoint p, const QColor& colour) const {
    const QImage& image = form_->GraphBox->Image();
    for (int dy = -1; dy <= 1; ++dy)
      for (int dx = -1; dx <= 1; ++dx)
        if (image.valid(p.x() + dx, p.y() + dy) &&
            image.pixelColor(p.x() + dx, p.y() + dy) == colour)
          return true;
    return false;
  }

  static std::array<QString, 5> Texts(const std::array<QLabel*, 5>& labels) {
    std::array<QString, 5> texts;
    for (size_t i = 0; i < labels.size(); ++i) texts[i] = labels[i]->text();
    return texts;
  }

  plot::Units Units() const { return {form_->PositionScale, form_->CountLength}; }
};

TEST_F(PlotsTest, LissajousTrailKeepsItsNewestPointsAndErasesTheOlderOnes) {
  constexpr int32_t kTrail = 20;
  ComData& c = *form_->Connection;
  c.SetPlotSizes(kTrail, form_->Persisted.SignalStrengthPoints, form_->PositionPlotSeconds);
  EnterLive([this] { Key(Qt::Key_F3); }, 8, SignalView);
  form_->PlotTypeGroupClick(plot::FirstOnly);
  ASSERT_TRUE(WaitRecorded(SignalView, 2000));
  // Beside the plot, the alignment figures of the newest samples.
  const auto* readout = form_->findChild<QLabel*>("AlignmentReadout");
  EXPECT_TRUE(readout->isVisible());
  EXPECT_TRUE(Eventually([&] { return readout->text().contains("Phase error"); }))
      << readout->text();
  // The set-up report, with these figures and the plot, and its text twin;
  // the serial number and axis typed into the form before it are kept in
  // the options file.
  QTemporaryDir reports;
  questions_.fileHandler = [&](const FileQuestion&) { return reports.filePath("r.pdf"); };
  DialogSteps form;
  form.Then([](QDialog& fields) {
    QTest::keyClicks(fields.focusWidget(), "VT-7");
    QTest::keyClick(fields.focusWidget(), Qt::Key_Tab);
    QTest::keyClick(fields.focusWidget(), Qt::Key_Tab);
    QTest::keyClick(fields.focusWidget(), Qt::Key_Tab);
    QTest::keyClicks(fields.focusWidget(), "Y");
    QTest::keyClick(fields.focusWidget(), Qt::Key_Return);
  });
  Choose(form_->SaveSetupReport1);
  QFile twin(reports.filePath("r.txt"));
  ASSERT_TRUE(QFile::exists(reports.filePath("r.pdf")) && twin.open(QIODevice::ReadOnly));
  const QByteArray text = twin.readAll();
  EXPECT_TRUE(text.contains("port = COM1\n") && text.contains("phase_error = ") &&
              text.contains("field_serial = VT-7\nfield_axis = Y\n"))
      << text.data();
  EXPECT_EQ(QSettings(installDir_.filePath("Quillon-options.ini"), QSettings::IniFormat)
                .value("report/serial"),
            "VT-7");
  Stop();

  // Batches of five are drawn: the newest point drawn is shown, and of the
  // two thousand drawn no more than the trail's are left (a point covers up
  // to nine pixels with the two-pixel pen).
  const int32_t newest = c.WriteIndex[SignalView] / 5 * 5 - 1;
  const SignalRing& ring = c.Signal();
  const QPoint last = plot::MapLissajous({ring.x[newest], ring.y[newest], ring.magnitude[newest],
                                          ring.angle[newest]},
                                         form_->GraphBox->Image().width())
                          .raw;
  EXPECT_TRUE(Near(last, plot::kRaw)) << last.x() << "," << last.y();
  EXPECT_GT(CountPixels(plot::kRaw), 0);
  EXPECT_LE(CountPixels(plot::kRaw), kTrail * 9);
  EXPECT_EQ(CountPixels(plot::kProcessed), 0) << "type 0 draws the raw signal only";

  // Type 1 draws the processed vector in its own colour, and is kept.
  form_->PlotTypeGroupClick(plot::SecondOnly);
  EXPECT_EQ(ReadSettings(installDir_.path()).EncoderPlotType, plot::SecondOnly);
  form_->AcquireButton->click();
  ASSERT_TRUE(WaitRecorded(SignalView, 200));
  Stop();
  EXPECT_GT(CountPixels(plot::kProcessed), 0);
  EXPECT_EQ(CountPixels(plot::kRaw), 0);
}

TEST_F(PlotsTest, PositionWindowsRollOverAndTheTracesFollowThePlotType) {
  constexpr float kSpan = 0.5f;
  ComData& c = *form_->Connection;
  c.SetPlotSizes(form_->Persisted.LissajousPoints, form_->Persisted.SignalStrengthPoints, kSpan);
  EnterLive([this] { Click(form_->PositionButton); }, 10, PositionView);
  form_->PlotTypeGroupClick(plot::Both);
  // Several windows pass: the time labels move on by a span each time.
  const auto start = [&] { return form_->XValues[4]->text().toFloat(); };
  ASSERT_TRUE(Eventually([&] { return start() >= 2 * kSpan; }, kLongWaitMs));
  // The labels move as a window starts on a blank plot: let it fill a little.
  ASSERT_TRUE(WaitRecorded(PositionView, 200));
  Stop();
  EXPECT_NEAR(form_->XValues[0]->text().toFloat() - start(), kSpan, 0.11);

  AxisLimits limits{c.PositionAxisMin[PositionPlot], c.PositionAxisMax[PositionPlot],
                    c.VelocityAxisMin, c.VelocityAxisMax};
  EXPECT_EQ(Texts({form_->YValues[0], form_->YValues[1], form_->YValues[2], form_->YValues[3],
                   form_->YValues[4]}),
            plot::PositionLabels(limits.positionMin, limits.positionMax, Units()));
  EXPECT_EQ(Texts({form_->YValues[5], form_->YValues[6], form_->YValues[7], form_->YValues[8],
                   form_->YValues[9]}),
            plot::VelocityLabels(limits.velocityMin, limits.velocityMax, Units()));
  EXPECT_GT(CountPixels(plot::kLime), 0);
  EXPECT_GT(CountPixels(plot::kRaw), 0);
  const PositionRing& ring = c.Position();
  const int32_t last = c.WriteIndex[PositionView] - 1;
  EXPECT_LE(limits.positionMin, ring.position[last]);
  EXPECT_GE(limits.positionMax, ring.position[last]);

}

// One signal-level scale: a moving head whose level stays in the Marginal
// band gets that band's marks on the status page and the same word in the
// alignment read-out and in the set-up report, whose figures read the
// head's planted errors back as the command line's do.
class LevelWordsTest : public MainFormTest {};

TEST_F(LevelWordsTest, TheStatusPageTheReadoutAndTheReportNameTheSameBand) {
  veritrak::Options options;
  options.head.amplitudeLow = options.head.amplitudeHigh = 300;  // 29 %
  options.head.sineOffset = 0.01, options.head.gainRatio = 1.03, options.head.phaseError = 2;
  StartLive(options);
  EXPECT_TRUE(Eventually([&] { return form_->yellowleft->isVisible(); }));
  Key(Qt::Key_F3);
  Finish(8);
  ASSERT_TRUE(WaitLive(SignalView));
  const auto* readout = form_->findChild<QLabel*>("AlignmentReadout");
  EXPECT_TRUE(Eventually([&] { return readout->text().contains(" % Marginal"); }))
      << readout->text().toStdString();
  // The report's form: Escape, or the title bar's close, saves nothing; OK
  // saves with the form's last values.
  QTemporaryDir reports;
  int fileDialogs = 0;
  questions_.fileHandler = [&](const FileQuestion&) {
    ++fileDialogs;
    return reports.filePath("r.pdf");
  };
  DialogSteps form;
  form.Then([](QDialog& fields) { QTest::keyClick(&fields, Qt::Key_Escape); });
  form.Then([](QDialog& fields) { fields.close(); });
  form.Then([](QDialog& fields) {
    auto* ok = fields.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
    QTest::mouseClick(ok, Qt::LeftButton);
  });
  for (int save = 0; save < 3; ++save) Choose(form_->SaveSetupReport1);
  EXPECT_EQ(form.shown, 3);
  EXPECT_EQ(fileDialogs, 1);
  QFile twin(reports.filePath("r.txt"));
  ASSERT_TRUE(twin.open(QIODevice::ReadOnly));
  const QByteArray text = twin.readAll();
  EXPECT_TRUE(text.contains("signal_level_band = Marginal\n")) << text.data();
  const auto figure = [&](const QByteArray& name) {
    for (const QByteArray& line : text.split('\n'))
      if (line.startsWith(name + " = ")) return line.split(' ').value(2).toDouble();
    return -1e9;
  };
  EXPECT_NEAR(figure("sine_offset"), 10, 1);  // mV
  EXPECT_NEAR(figure("amplitude_ratio"), 103, 0.2);
  EXPECT_NEAR(figure("phase_error"), 2, 0.1);
}

}  // namespace
}  // namespace quillon
