// Moving between the views by the page buttons and the View menu, the
// display-state buttons of each plot, and the buttons' hover highlight.
#include <QFontInfo>

#include "canvas_widgets.h"
#include "engineering_display.h"
#include "live_form_fixture.h"
#include "plot_drawing.h"
#include "plot_settings_form.h"

namespace quillon {
namespace {

const QString kStatusLiveTitle = kLiveTitle;

class ViewsTest : public LiveFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    StartLive();
  }

  // One view change: the action, the request it posts, the view it leads
  // to, and whether the controls stay locked until the page is built.
  void Enter(const std::function<void()>& act, int code, int view, bool locks) {
    SCOPED_TRACE(testing::Message() << "to view " << view << " by request " << code);
    act();
    EXPECT_EQ(form_->EncoderSignalButton->isEnabled(), !locks);
    EXPECT_EQ(form_->Lissajous1->isEnabled(), !locks);
    Finish(code);
    EXPECT_EQ(form_->CurrentView, view);
    ASSERT_TRUE(WaitLive(view));
    ASSERT_TRUE(WaitUnlocked());
    if (view == EngineeringView) {
      EXPECT_TRUE(form_->EngineeringDisplay->isVisible());
      return;
    }
    EXPECT_EQ(form_->windowTitle(), view == StatusView ? kStatusLiveTitle : kPlotLiveTitle);
    EXPECT_EQ(form_->GraphBox->isVisible(), view != StatusView);
    EXPECT_EQ(form_->ResetPosition1->isEnabled(), view == StatusView);
    // The page shows its own live data.
    QLabel* live = view == StatusView ? form_->EncoderPositionText : form_->TimeText2;
    const QString before = live->text();
    EXPECT_TRUE(Eventually([&] { return live->text() != before; }, kLongWaitMs));
  }

  void Click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
  // Through the window system, which keeps clicks from a window that a
  // modal one blocks.
  void ClickInWindow(QWidget* control) {
    QTest::mouseClick(form_->windowHandle(), Qt::LeftButton, {},
                      control->mapTo(form_.get(), control->rect().center()));
  }
  void CloseEngineeringDisplay(int backTo) {
    form_->EngineeringDisplay->close();
    Finish(14);
    EXPECT_EQ(form_->CurrentView, backTo);
    ASSERT_TRUE(WaitLive(backTo));
  }
};

TEST_F(ViewsTest, EveryViewIsEnteredFromEveryOtherByButtonAndByMenu) {
  TMainForm& f = *form_;
  // The status page's three page buttons, and back by "Back To Main" or F2.
  Enter([&] { Click(f.CenterIndexButton); }, 8, SignalView, true);
  EXPECT_EQ(f.CenterIndexButton->text(), "Plot Options");
  EXPECT_EQ(f.SetFrequencyButton->text(), "Back To Main");
  EXPECT_FALSE(f.PositionButton->isVisible());
  f.Lissajous1->trigger();  // F3 where F3 leads: nothing posted
  EXPECT_FALSE(f.ReadWriteTimer->isActive());
  Enter([&] { Click(f.SetFrequencyButton); }, 11, StatusView, true);
  EXPECT_EQ(f.SetFrequencyButton->text(), "Signal Strength");
  Enter([&] { Click(f.SetFrequencyButton); }, 9, StrengthView, true);
  Enter([&] { f.Mainwindow1->trigger(); }, 11, StatusView, true);
  ASSERT_TRUE(f.PositionButton->isVisible());
  Enter([&] { Click(f.PositionButton); }, 10, PositionView, true);
  Enter([&] { f.Mainwindow1->trigger(); }, 11, StatusView, true);  // F2 returns from here too

  // From plot to plot by the View menu.
  Enter([&] { f.Lissajous1->trigger(); }, 8, SignalView, false);
  Enter([&] { f.SignalMonitor1->trigger(); }, 9, StrengthView, false);
  Enter([&] { f.EncoderPositionPlot1->trigger(); }, 10, PositionView, true);
  Enter([&] { f.Lissajous1->trigger(); }, 8, SignalView, false);
  Enter([&] { f.EncoderPositionPlot1->trigger(); }, 10, PositionView, true);
  Enter([&] { f.SignalMonitor1->trigger(); }, 9, StrengthView, false);
  // The hidden output-frequency item's handler leads back from a plot too.
  Enter([&] { f.SetFrequencyButtonClick(); }, 11, StatusView, true);

  // The engineering display from the status page and from a plot: the main
  // menus and controls rest while it is up and come back when it closes.
  Enter([&] { f.Engineering1->trigger(); }, 13, EngineeringView, false);
  EXPECT_FALSE(f.View1->isEnabled());
  ClickInWindow(f.SetFrequencyButton);
  EXPECT_FALSE(f.ReadWriteTimer->isActive());
  CloseEngineeringDisplay(StatusView);
  EXPECT_TRUE(f.View1->isEnabled());
  Enter([&] { ClickInWindow(f.SetFrequencyButton); }, 9, StrengthView, true);
  Enter([&] { f.Lissajous1->trigger(); }, 8, SignalView, false);
  Enter([&] { f.Engineering1->trigger(); }, 13, EngineeringView, false);
  CloseEngineeringDisplay(SignalView);
  EXPECT_EQ(f.windowTitle(), kPlotLiveTitle);

  // On a plot page the hidden command handlers serve the plot: the
  // interpolation button opens the plot settings, index centring saves.
  ASSERT_TRUE(WaitUnlocked());
  f.SetInterpolationButton->click();
  EXPECT_TRUE(f.PlotSettingsForm->isVisible());
  f.PlotSettingsForm->close();
  questions_.fileHandler = [](const FileQuestion&) { return QString(); };
  f.CenterIndexButtonClick();
  Finish(16);
  ASSERT_EQ(questions_.fileAsked.size(), 1);
  EXPECT_EQ(questions_.fileAsked[0].title, "Save Encoder Signal Data as:");
  EXPECT_EQ(f.CurrentView, SignalView);
  EXPECT_EQ(questions_.asked.size(), 0);
}

TEST_F(ViewsTest, EachPlotStopsStepsBackReplaysAndGoesLiveAgain) {
  TMainForm& f = *form_;
  const struct {
    QAction* item;
    int code, view;
    QColor drawn;
  } plots[] = {{f.Lissajous1, 8, SignalView, plot::kRaw},
               {f.SignalMonitor1, 9, StrengthView, plot::kLime},
               {f.EncoderPositionPlot1, 10, PositionView, plot::kLime}};
  for (const auto& p : plots) {
    SCOPED_TRACE(testing::Message() << "view " << p.view);
    p.item->trigger();
    Finish(p.code);
    ASSERT_TRUE(WaitLive(p.view));
    ASSERT_TRUE(WaitUnlocked());
    ASSERT_TRUE(WaitRecorded(p.view, 400));

    f.FastButton->click();  // View while live: nothing
    EXPECT_FALSE(f.ReadWriteTimer->isActive());
    f.StopButton->click();
    Finish(20);
    EXPECT_EQ(f.windowTitle(), kPlotStoppedTitle);
    EXPECT_FALSE(f.Connection->ThreadRunning);

    f.ReviewButton->click();  // Back: the review window reaches further back
    Finish(17);
    EXPECT_GT(f.Connection->ReviewCount[p.view], 0);
    EXPECT_EQ(f.ViewState[p.view], ActionStop);

    // The replay draws on a blank plot, so what it shows is its own.
    f.GraphBox->Image().fill(Qt::black);
    f.FastButton->click();
    EXPECT_EQ(f.ViewState[p.view], ActionView);
    Finish(18);
    EXPECT_EQ(f.windowTitle(), kViewingTitle);
    f.AcquireButton->click();  // refused while viewing the buffer
    EXPECT_EQ(f.ViewState[p.view], ActionView);
    // The replay ends by itself and leaves the view stopped.
    Finish(20);
    EXPECT_EQ(f.ViewState[p.view], ActionStop);
    EXPECT_EQ(f.windowTitle(), kPlotStoppedTitle);
    EXPECT_EQ(f.Connection->ReviewCount[p.view], 0);
    const QImage& shown = f.GraphBox->Image();
    int drawn = 0;
    for (int y = 0; y < shown.height(); ++y)
      for (int x = 0; x < shown.width(); ++x) drawn += shown.pixelColor(x, y) == p.drawn;
    EXPECT_GT(drawn, 10);

    f.AcquireButton->click();
    EXPECT_EQ(f.windowTitle(), kPlotLiveTitle);
    ASSERT_TRUE(WaitLive(p.view));
  }
}

// Without electronics: the window alone, as a user moves the mouse over it.
TEST_F(MainFormTest, TheButtonUnderTheMouseIsHighlightedAndTheRestAreNot) {
  CreateForm();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form_.get()));
  const QFont normal = form_->BitBtn1->font();
  const QFont highlight = form_->BitBtn2->font();
  EXPECT_EQ(normal.pixelSize(), 12);
  EXPECT_FALSE(normal.bold());
  EXPECT_EQ(highlight.pixelSize(), 15);
  EXPECT_TRUE(highlight.bold());
  QWidget* surface = form_->surface;
  SpeedButton* buttons[] = {form_->CenterIndexButton, form_->SetFrequencyButton,
                            form_->PositionButton, form_->ResetPositionButton};
  for (SpeedButton* hot : buttons) {
    QTest::mouseMove(hot);
    for (SpeedButton* button : buttons)
      EXPECT_EQ(button->font(), button == hot ? highlight : normal)
          << hot->objectName().toStdString() << " " << button->objectName().toStdString();
  }
  // Over a status text, or over the bare window, every button is normal.
  QTest::mouseMove(form_->IndexText);
  EXPECT_EQ(form_->ResetPositionButton->font(), normal);
  QTest::mouseMove(form_->CenterIndexButton);
  QTest::mouseMove(surface, QPoint(5, surface->height() - 5));
  EXPECT_EQ(form_->CenterIndexButton->font(), normal);
}

TEST_F(MainFormTest, LargeLayoutScalesTheButtonFonts) {
  CreateForm({QSize(1280, 1024), 96});
  EXPECT_EQ(form_->LayoutMode, 2);
  EXPECT_EQ(form_->BitBtn1->font(), form_->CenterIndexButton->font());
  EXPECT_GT(QFontInfo(form_->BitBtn2->font()).pixelSize(),
            QFontInfo(form_->BitBtn1->font()).pixelSize());
  EXPECT_TRUE(form_->BitBtn2->font().bold());
}

}  // namespace
}  // namespace quillon
