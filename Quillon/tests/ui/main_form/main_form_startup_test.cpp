// Start-up, demo mode and shutdown of the main window; where its settings live.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "encoder_setup_form.h"
#include "install_dir.h"
#include "main_form_fixture.h"
#include "manual_viewer.h"

namespace quillon {
namespace {

TEST_F(MainFormTest, FindsTheElectronicsOnCom5AndShowsLiveStatus) {
  StartEmulator(5);
  StartProgram();

  EXPECT_EQ(splashTexts_, (QStringList{"Polling Com1...", "Polling Com2...", "Polling Com3...",
                                       "Polling Com4...", "Polling Com5...",
                                       "Kestrel Electronics Found on COM5"}));
  ASSERT_NE(form_->Connection, nullptr);
  EXPECT_EQ(form_->Connection->Port(), 5);
  EXPECT_FALSE(splash_->isVisible());
  EXPECT_EQ(form_->windowTitle(), kLiveTitle);
  EXPECT_EQ(form_->LogoText4->text(), "for Kestrel");
  EXPECT_EQ(form_->ResolutionBox->text(), " 1.0 counts");
  EXPECT_TRUE(WaitForLivePositions());
  EXPECT_TRUE(Eventually([&] {
    return !form_->IndexBox->text().isEmpty() &&
           (form_->greenleft->isVisibleTo(form_.get()) ||
            form_->yellowleft->isVisibleTo(form_.get()) || form_->redleft->isVisibleTo(form_.get()));
  }));
  EXPECT_TRUE(questions_.asked.isEmpty());
}

TEST_F(MainFormTest, WithoutElectronicsRetriesThenRunsInDemoModeWhereOnlyHelpAndExitWork) {
  QList<Answer> script{Answer::Help, Answer::Retry, Answer::Help, Answer::Ignore};
  questions_.handler = [&](const Question&) { return script.takeFirst(); };
  StartProgram();
  ASSERT_TRUE(Eventually([&] { return form_->DemoMode; }));
  EXPECT_TRUE(script.isEmpty());
  EXPECT_EQ(splashTexts_.count("Polling Com16..."), 2);
  EXPECT_EQ(questions_.Count(kCannotDetectStart), 4);
  EXPECT_EQ(questions_.asked[0].answers,
            (QList<Answer>{Answer::Retry, Answer::Ignore, Answer::Help}));
  ASSERT_EQ(opened_.size(), 2);
  EXPECT_EQ(opened_[0].fragment(), "nothing-found");
  // The port-16 connection stays, disconnected.
  ASSERT_NE(form_->Connection, nullptr);
  EXPECT_EQ(form_->Connection->Port(), 16);
  EXPECT_EQ(form_->windowTitle(), kDemoTitle);

  // No key and no page button reaches the electronics; help still answers.
  questions_.asked.clear();
  for (Qt::Key key : {Qt::Key_F2, Qt::Key_F3, Qt::Key_F4, Qt::Key_F6, Qt::Key_F11, Qt::Key_F12})
    Key(key);
  Click(form_->CenterIndexButton);
  EXPECT_FALSE(form_->ReadWriteTimer->isActive());
  EXPECT_EQ(form_->CurrentView, StatusView);
  EXPECT_TRUE(questions_.asked.isEmpty());
  // Help opens a help file where one is installed, else the manual; the
  // program's own viewer shows what the desktop cannot.
  const QString wizard = installDir_.filePath("Encoder Installation Wizard.hlp");
  ASSERT_TRUE(QFile(wizard).open(QIODevice::WriteOnly));
  for (Qt::Key key : {Qt::Key_F1, Qt::Key_F8}) Key(key);
  ASSERT_EQ(opened_.size(), 4);
  EXPECT_EQ(opened_[2].fileName() + "#" + opened_[2].fragment(), "index.html#status-page");
  EXPECT_EQ(opened_[3], QUrl::fromLocalFile(wizard));
  QFile::remove(wizard);
  desktopShows_ = false;
  Key(Qt::Key_F8);
  TManualViewer* viewer = form_->ManualViewer.get();
  ASSERT_TRUE(viewer && viewer->isVisible());
  EXPECT_EQ(viewer->parent(), nullptr) << "a box over the window would block it";
  EXPECT_EQ(viewer->Source().fileName() + "#" + viewer->Source().fragment(),
            "index.html#installation");
  QTest::keyClick(viewer, Qt::Key_Escape);
  EXPECT_FALSE(viewer->isVisible());
  EXPECT_TRUE(questions_.asked.isEmpty());

  // File > Exit ends it without writing the settings.
  questions_.handler = [](const Question&) { return Answer::Yes; };
  Choose(form_->Exit1);
  EXPECT_TRUE(form_->Closing);
  EXPECT_TRUE(Eventually([&] { return form_->Connection == nullptr; }));
  EXPECT_FALSE(SettingsWritten());
}

TEST_F(MainFormTest, ClosingAsksFirstAndWritesTheSettingsAfterTheThreadsStopped) {
  StartLive();
  form_->Persisted.LissajousPoints = 321;

  questions_.handler = [](const Question&) { return Answer::No; };
  form_->close();  // the title bar's close
  ASSERT_EQ(questions_.asked.size(), 1);
  EXPECT_EQ(questions_.asked[0].text, "Close Veritrak II Software? ");
  EXPECT_EQ(questions_.asked[0].answers, (QList<Answer>{Answer::Yes, Answer::No}));
  EXPECT_TRUE(form_->isVisible());
  EXPECT_TRUE(WaitForLivePositions());

  questions_.handler = [](const Question&) { return Answer::Yes; };
  Choose(form_->Exit1);
  EXPECT_EQ(splashTexts_.last(), "Shutting Down Program...");
  EXPECT_EQ(splash_->windowTitle(), "Veritrak II Software");
  EXPECT_FALSE(SettingsWritten());
  ASSERT_TRUE(Eventually([&] { return form_->Connection == nullptr; }));
  QFile ini(installDir_.filePath("Quillon.ini"));
  ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
  EXPECT_EQ(ini.readAll().split('\n').value(1), "lissplot=321\r");
  EXPECT_TRUE(QFile::exists(installDir_.filePath("grating2.ini")));
}

// A settings file beyond what the dialogs write: a custom grating of 0
// counts, an encoder unit type of 3, crossed circles, and plot sizes,
// digits, unit and plot types outside their ranges. Through a run that draws
// the circles and opens the units, the exit writes back what harms nothing as
// it was, the rest brought into range, and the grating table and units whole.
TEST_F(MainFormTest, ASettingsFileBeyondTheDialogsKeepsItsTableAndUnitsThroughARun) {
  const QByteArray keys =
      "siglevelmult=1.150\r\nlissplot=%1\r\nminimumcircle=0.6\r\nmaximumcircle=0.2\r\n"
      "encodertype=3\r\nunittype=%2\r\ndigits=%3\r\nunits=furlongs\r\nsignalplot=%4\r\n"
      "gratingindex=%5\r\nencoderplottype=%6\r\npositionplottype=%7\r\nnumgratings=5\r\n"
      "10000\r\n16384\r\n32768\r\n65536\r\n0\r\n";
  const QByteArray names = " 19.05mm\r\n 31.75mm\r\n 57.15mm\r\n 107.95mm\r\n 25mm - 0 CPR\r\n";
  QFile ini(installDir_.filePath("Quillon.ini")), table(installDir_.filePath("grating2.ini"));
  ASSERT_TRUE(ini.open(QIODevice::WriteOnly) && table.open(QIODevice::WriteOnly));
  ini.write(QString(keys).arg(4).arg(9).arg(12).arg(10001).arg(7).arg(5).arg(-1).toLatin1());
  table.write(names);
  ini.close(), table.close();
  veritrak::Options options;
  options.device.modelCode = 3;  // a model whose grid draws the circles of the settings
  StartLive(options);
  Key(Qt::Key_F3);
  Finish(8);
  ASSERT_TRUE(WaitLive(SignalView) && WaitRecorded(SignalView, 100) && WaitUnlocked());
  Click(form_->SetFrequencyButton);  // "Back To Main"
  Finish(11);
  ASSERT_TRUE(WaitRecorded(StatusView, 10));  // shown as 0: the type names no length
  Key(Qt::Key_F11);
  ASSERT_TRUE(form_->EncoderSetupForm->isVisible());
  QTest::keyClick(form_->EncoderSetupForm, Qt::Key_Escape);
  EXPECT_FALSE(form_->EncoderSetupForm->isVisible());

  questions_.handler = [](const Question&) { return Answer::Yes; };
  Choose(form_->Exit1);
  ASSERT_TRUE(Eventually([&] { return form_->Connection == nullptr; }));
  ASSERT_TRUE(ini.open(QIODevice::ReadOnly) && table.open(QIODevice::ReadOnly));
  EXPECT_EQ(QString(ini.readAll()),
            QString(keys).arg(5).arg(5).arg(10).arg(10000).arg(4).arg(2).arg(0));
  EXPECT_EQ(table.readAll(), names);
  EXPECT_TRUE(questions_.asked.size() == 1) << questions_.asked.value(1).text;
}

// A device held by another program is told once, after the box that says
// nothing was found.
TEST_F(MainFormTest, APortInUseIsToldOnceAfterTheSearch) {
  StartEmulator(1);
  const int held = open(emulator_->DevicePath().c_str(), O_RDWR | O_NOCTTY);
  ASSERT_EQ(flock(held, LOCK_EX), 0);
  QList<Answer> script{Answer::Retry, Answer::Ignore};
  questions_.handler = [&](const Question& question) {
    return question.text.startsWith(kCannotDetectStart) ? script.takeFirst() : Answer::Ok;
  };
  StartProgram();
  ASSERT_TRUE(Eventually([&] { return form_->DemoMode; }));
  ASSERT_EQ(questions_.asked.size(), 3);
  EXPECT_TRUE(questions_.asked[1].text.startsWith("COM1 (") &&
              questions_.asked[1].text.contains("in use by another program"));
  close(held);
}

// A failed save is told once, however often the settings are saved; a
// settings folder is seeded once and keeps its own files afterwards.
TEST_F(MainFormTest, SettingsLiveInTheInstallDirectoryOrElseInTheUsersFolder) {
  StartLive();
  ASSERT_TRUE(QDir(installDir_.path()).mkdir("Quillon.ini"));
  questions_.handler = [](const Question&) { return Answer::Ok; };
  form_->WriteSettings();
  form_->WriteSettings();
  ASSERT_EQ(questions_.asked.size(), 1);
  EXPECT_TRUE(questions_.asked[0].text.startsWith("The settings could not be saved"));

  const QString user = QString::fromStdString((home_.Root() / "quillon").string());
  EXPECT_EQ(SettingsDir(installDir_.path()), installDir_.path());
  EXPECT_EQ(SettingsDir(installDir_.filePath("missing")), user);
  QFile names(installDir_.filePath("grating2.ini"));
  for (const char* text : {"first", "second"}) {
    ASSERT_TRUE(names.open(QIODevice::WriteOnly | QIODevice::Truncate) && names.write(text));
    names.close();
    SeedSettings(installDir_.path(), user);
  }
  QFile seeded(QDir(user).filePath("grating2.ini"));
  ASSERT_TRUE(seeded.open(QIODevice::ReadOnly));
  EXPECT_EQ(seeded.readAll(), "first");
}

}  // namespace
}  // namespace quillon
