// The set-up report from the command line, as a production script runs it:
// against electronics with a misaligned head its text twin reads the errors
// back; without electronics it fails with one line and status 1.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <memory>

#include "temp_config_home.h"
#include "veritrak/emulator.h"

namespace {

struct Outcome {
  int status;
  QString error;
};

Outcome Report(const QStringList& arguments) {
  QProcess program;
  program.start(QStringLiteral(QUILLON_PROGRAM),
                QStringList{"-platform", "offscreen", "--report"} + arguments);
  EXPECT_TRUE(program.waitForFinished(60000));
  return {program.exitCode(), QString::fromLocal8Bit(program.readAllStandardError())};
}

double Figure(const QByteArray& text, const QByteArray& name) {
  for (const QByteArray& line : text.split('\n'))
    if (line.startsWith(name + " = ")) return line.split(' ').value(2).toDouble();
  ADD_FAILURE() << "no " << name.toStdString();
  return 0;
}

TEST(ReportCommand, ReadsAMisalignedHeadBackOrSaysWhyNot) {
  testsupport::TempConfigHome home;
  QTemporaryDir files;
  for (int com = 1; com <= 16; ++com) home.LinkPort(com, home.Root() / "absent");
  EXPECT_EQ(Report({files.filePath("none.pdf")}).status, 1);

  veritrak::Options options;  // the level sweeping along the travel
  options.head.sineOffset = -0.04, options.head.gainRatio = 0.97, options.head.phaseError = -3;
  veritrak::Emulator emulator(options);
  home.LinkPort(9, emulator.DevicePath());
  const Outcome run = Report({files.filePath("set-up.pdf"), "--port", "COM9", "--seconds", "2"});
  ASSERT_EQ(run.status, 0) << run.error.toStdString();
  QFile pdf(files.filePath("set-up.pdf")), text(files.filePath("set-up.txt"));
  ASSERT_TRUE(pdf.open(QIODevice::ReadOnly) && text.open(QIODevice::ReadOnly));
  EXPECT_TRUE(pdf.read(5) == "%PDF-");
  const QByteArray figures = text.readAll();
  EXPECT_NEAR(Figure(figures, "sine_offset"), -40, 1);  // mV
  EXPECT_NEAR(Figure(figures, "amplitude_ratio"), 97, 0.2);
  EXPECT_NEAR(Figure(figures, "phase_error"), -3, 0.1);
  EXPECT_TRUE(figures.contains("port = COM9\n"));
}

}  // namespace
