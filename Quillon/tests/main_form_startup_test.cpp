// Start-up, demo mode and shutdown of the main window.
#include <QTimer>

#include "canvas_widgets.h"
#include "main_form_fixture.h"

namespace quillon {
namespace {

QStringList Lines(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return QString::fromLatin1(file.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
}

TEST_F(MainFormTest, FindsTheElectronicsOnCom5AndShowsLiveStatus) {
  StartEmulator(5);
  StartProgram();

  EXPECT_EQ(splashTexts_, (QStringList{"Polling Com1...", "Polling Com2...", "Polling Com3...",
                                       "Polling Com4...", "Polling Com5...",
                                       "Kestrel Electronics Found on COM5"}));
  ASSERT_NE(form_->Connection, nullptr);
  EXPECT_EQ(form_->Connection->Port(), 5);
  EXPECT_FALSE(form_->DemoMode);
  EXPECT_FALSE(splash_->isVisible());
  EXPECT_EQ(form_->windowTitle(), kLiveTitle);
  EXPECT_EQ(form_->LogoText4->text(), "for Kestrel");
  EXPECT_EQ(form_->ResolutionBox->text(), " 1.0 counts");

  // Live data: the position moves, the index box and a signal band are lit.
  EXPECT_TRUE(WaitForLivePositions());
  EXPECT_TRUE(QTest::qWaitFor([&] { return !form_->IndexBox->text().isEmpty(); }, kLongWaitMs));
  EXPECT_TRUE(QTest::qWaitFor(
      [&] {
        return form_->greenleft->isVisibleTo(form_.get()) ||
               form_->yellowleft->isVisibleTo(form_.get()) ||
               form_->redleft->isVisibleTo(form_.get());
      },
      kLongWaitMs));
  EXPECT_EQ(questions_.asked.size(), 0);
}

TEST_F(MainFormTest, WithoutElectronicsRetriesThenRunsInDemoModeAndWritesNoSettings) {
  QList<Answer> script{Answer::Help, Answer::Ok, Answer::Retry, Answer::Help, Answer::Ok,
                       Answer::Ignore};
  questions_.handler = [&](const Question& question) {
    // A box closed without an answer comes back.
    if (question.text.startsWith(kCannotDetectStart) && questions_.asked.size() == 1)
      return Answer::None;
    return script.takeFirst();
  };
  StartProgram();
  // The first search, the box shown again, help without a help file, and Retry.
  ASSERT_TRUE(QTest::qWaitFor([&] { return form_->DemoMode; }, kLongWaitMs));

  EXPECT_EQ(splashTexts_.count("Polling Com16..."), 2);
  EXPECT_EQ(splashTexts_.first(), "Polling Com1...");
  EXPECT_EQ(questions_.Count(kCannotDetectStart), 5);
  EXPECT_EQ(questions_.asked[0].answers,
            (QList<Answer>{Answer::Retry, Answer::Ignore, Answer::Help}));
  EXPECT_TRUE(questions_.asked[2].text.contains("Veritrak II Software For Alignment Tool Help.hlp"))
      << questions_.asked[2].text.toStdString();
  EXPECT_TRUE(script.isEmpty());

  // The port-16 connection stays, disconnected.
  ASSERT_NE(form_->Connection, nullptr);
  EXPECT_EQ(form_->Connection->Port(), 16);
  EXPECT_EQ(form_->windowTitle(), kDemoTitle);
  for (QWidget* control : std::initializer_list<QWidget*>{
           form_->CenterIndexButton, form_->SetFrequencyButton, form_->ResetAlarmsButton,
           form_->ResetPositionButton, form_->PositionButton, form_->AcquireButton})
    EXPECT_FALSE(control->isEnabled()) << control->objectName().toStdString();
  for (QAction* item : {form_->Veritrakversion1, form_->Mainwindow1, form_->Lissajous1,
                        form_->SignalMonitor1, form_->Engineering1, form_->EngineeringDisplay1,
                        form_->ResetPosition1, form_->SoftwareSystemReset1,
                        form_->ResetDataBuffers1})
    EXPECT_FALSE(item->isEnabled()) << item->objectName().toStdString();
  EXPECT_TRUE(form_->SearchForElectronics1->isEnabled());
  EXPECT_TRUE(form_->Exit1->isEnabled());
  EXPECT_TRUE(form_->Veritraksoftwarehelp1->isEnabled());

  questions_.handler = [](const Question&) { return Answer::Yes; };
  form_->Exit1->trigger();
  EXPECT_TRUE(QTest::qWaitFor([&] { return !form_->GenTimer->isActive(); }, kLongWaitMs));
  EXPECT_TRUE(form_->Closing);
  EXPECT_FALSE(SettingsWritten());
}

TEST_F(MainFormTest, ClosingAsksFirstAndWritesTheSettingsAfterTheThreadsStopped) {
  StartEmulator(1);
  StartProgram();
  ASSERT_TRUE(WaitForLivePositions());
  form_->Persisted.LissajousPoints = 321;

  questions_.handler = [](const Question&) { return Answer::No; };
  form_->close();
  ASSERT_EQ(questions_.asked.size(), 1);
  EXPECT_EQ(questions_.asked[0].text, kCloseText);
  EXPECT_EQ(questions_.asked[0].answers, (QList<Answer>{Answer::Yes, Answer::No}));
  EXPECT_TRUE(form_->isVisible());
  EXPECT_FALSE(form_->GenTimer->isActive());
  EXPECT_TRUE(WaitForLivePositions());

  questions_.handler = [](const Question&) { return Answer::Yes; };
  form_->close();
  EXPECT_TRUE(form_->GenTimer->isActive());
  EXPECT_EQ(splashTexts_.last(), "Shutting Down Program...");
  EXPECT_EQ(splash_->windowTitle(), "Veritrak II Software");
  EXPECT_FALSE(SettingsWritten());
  ASSERT_TRUE(QTest::qWaitFor([&] { return form_->Connection == nullptr; }, kLongWaitMs));
  EXPECT_FALSE(form_->GenTimer->isActive());
  const QStringList lines = Lines(installDir_.filePath("Quillon.ini"));
  ASSERT_GE(lines.size(), 13);
  EXPECT_EQ(lines[1], "lissplot=321");
  EXPECT_TRUE(QFile::exists(installDir_.filePath("grating2.ini")));
}

TEST_F(MainFormTest, LayoutModeFollowsTheScreenSize) {
  struct Case {
    QSize screen;
    int mode;
    bool maximised;
    int width;
  };
  for (const Case& c : {Case{{1024, 768}, 1, true, 1024}, Case{{1280, 800}, 1, false, 1280},
                        Case{{1280, 1024}, 2, true, 1280}, Case{{800, 600}, 0, true, 800},
                        Case{{1024, 700}, 0, false, 800}, Case{{1600, 1200}, 2, false, 1280}}) {
    SCOPED_TRACE(c.screen.width() * 10000 + c.screen.height());
    form_ = std::make_unique<TMainForm>(questions_, TMainForm::ScreenInfo{c.screen, 96});
    EXPECT_EQ(form_->LayoutMode, c.mode);
    EXPECT_EQ(form_->windowState().testFlag(Qt::WindowMaximized), c.maximised);
    EXPECT_EQ(form_->width(), c.width);
    EXPECT_EQ(form_->Logo->isVisibleTo(form_.get()), c.mode != 0);
    EXPECT_EQ(form_->Logo800->isVisibleTo(form_.get()), c.mode == 0);
    EXPECT_EQ(form_->windowTitle(), kLiveTitle);
  }
}

}  // namespace
}  // namespace quillon
