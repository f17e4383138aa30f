// Moving between the views with the mouse, by the page buttons and the View
// menu; the hidden display-state buttons of each view.
#include "engineering_display.h"
#include "main_form_fixture.h"
#include "plot_drawing.h"

namespace quillon {
namespace {

const QString kPlotStoppedTitle =
    QStringLiteral("Norvale Systems Veritrak II Software - Display Stopped");
const QString kViewingTitle =
    QStringLiteral("Norvale Systems Veritrak II Software - Viewing Buffered Data");

class ViewsTest : public MainFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    StartLive();
  }

  // One view change: the input, the request it posts, the view it leads to,
  // and whether the controls stay locked until the page is built.
  void Enter(const std::function<void()>& input, int code, int view, bool locks) {
    SCOPED_TRACE(testing::Message() << "to view " << view << " by request " << code);
    input();
    EXPECT_EQ(form_->EncoderSignalButton->isEnabled(), !locks);
    EXPECT_EQ(form_->Lissajous1->isEnabled(), !locks);
    Finish(code);
    EXPECT_EQ(form_->CurrentView, view);
    ASSERT_TRUE(WaitLive(view));
    ASSERT_TRUE(WaitUnlocked());
    if (view == EngineeringView) return;
    EXPECT_EQ(form_->windowTitle(), view == StatusView ? kLiveTitle : kPlotLiveTitle);
    EXPECT_EQ(form_->GraphBox->isVisible(), view != StatusView);
    EXPECT_EQ(form_->ResetPosition1->isEnabled(), view == StatusView);
    // The page shows its own live data.
    QLabel* live = view == StatusView ? form_->EncoderPositionText : form_->TimeText2;
    const QString before = live->text();
    EXPECT_TRUE(Eventually([&] { return live->text() != before; }));
  }
};

TEST_F(ViewsTest, EveryViewIsEnteredFromEveryOtherByButtonAndByMenu) {
  TMainForm& f = *form_;
  const auto click = [&](QWidget* button) { return [this, button] { Click(button); }; };
  const auto choose = [&](QAction* item) { return [this, item] { Choose(item); }; };
  // The status page's three page buttons, and back by "Back To Main".
  Enter(click(f.CenterIndexButton), 8, SignalView, true);
  EXPECT_EQ(f.CenterIndexButton->text(), "Plot Options");
  EXPECT_EQ(f.SetFrequencyButton->text(), "Back To Main");
  EXPECT_FALSE(f.PositionButton->isVisible());
  Enter(click(f.SetFrequencyButton), 11, StatusView, true);
  Enter(click(f.SetFrequencyButton), 9, StrengthView, true);
  Enter(choose(f.Mainwindow1), 11, StatusView, true);
  Enter(click(f.PositionButton), 10, PositionView, true);
  Enter(choose(f.Mainwindow1), 11, StatusView, true);  // from the position plot too
  // From plot to plot by the View menu; the hidden position item leads there.
  Enter(choose(f.Lissajous1), 8, SignalView, false);
  Enter(choose(f.SignalMonitor1), 9, StrengthView, false);
  Enter([&] { f.EncoderPositionPlot1->trigger(); }, 10, PositionView, true);
  Enter(choose(f.Lissajous1), 8, SignalView, false);

  // The engineering display over a plot: the window behind takes no clicks,
  // and its close returns to the plot.
  Enter(choose(f.Engineering1), 13, EngineeringView, false);
  EXPECT_TRUE(f.EngineeringDisplay->isVisible());
  EXPECT_FALSE(f.View1->isEnabled());
  Click(f.SetFrequencyButton);
  EXPECT_FALSE(f.ReadWriteTimer->isActive());
  f.EngineeringDisplay->close();
  Finish(14);
  EXPECT_EQ(f.CurrentView, SignalView);
  ASSERT_TRUE(WaitLive(SignalView));
  EXPECT_TRUE(f.View1->isEnabled());
  EXPECT_TRUE(questions_.asked.isEmpty());
}

// The data-processing buttons are hidden in this window; their handlers
// still stop, step back, replay and go live again.
TEST_F(ViewsTest, APlotStopsStepsBackReplaysAndGoesLiveAgain) {
  TMainForm& f = *form_;
  Key(Qt::Key_F3);
  Finish(8);
  ASSERT_TRUE(WaitUnlocked());
  ASSERT_TRUE(WaitRecorded(SignalView, 200));
  f.FastButton->click();  // View while live: nothing
  EXPECT_FALSE(f.ReadWriteTimer->isActive());
  f.StopButton->click();
  Finish(20);
  EXPECT_EQ(f.windowTitle(), kPlotStoppedTitle);
  f.ReviewButton->click();  // Back: the review reaches further back
  Finish(17);
  EXPECT_GT(f.Connection->ReviewCount[SignalView], 0);

  // The replay draws on a blank plot, so what it shows is its own.
  f.GraphBox->Image().fill(Qt::black);
  f.FastButton->click();
  Finish(18);
  EXPECT_EQ(f.windowTitle(), kViewingTitle);
  EXPECT_FALSE(f.ResetDataBuffers1->isEnabled());
  f.AcquireButton->click();  // refused while viewing the buffer
  EXPECT_EQ(f.ViewState[SignalView], ActionView);
  Finish(20);  // the replay ends by itself, stopped
  EXPECT_EQ(f.windowTitle(), kPlotStoppedTitle);
  EXPECT_GT(CountPixels(plot::kRaw), 10);
  f.AcquireButton->click();
  EXPECT_EQ(f.windowTitle(), kPlotLiveTitle);
  EXPECT_TRUE(WaitLive(SignalView));
}

}  // namespace
}  // namespace quillon
