// Every kind of box the program asks, answered as a person answers it: each
// button gives its own answer; Escape and the title-bar close answer only a
// box that offers Cancel or a lone OK and leave any other box up; a waiting
// box leaves a window of its own usable.
#include "questions.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <functional>

#include "help_viewer.h"
#include "manual_viewer.h"

namespace quillon {
namespace {

using Act = std::function<void(QMessageBox&)>;

// Asks `answers` through the real boxes; `act` runs once the box is up. A box
// still up after it is answered with one of its buttons, and `stayed` says so.
Answer AskAndAct(const QList<Answer>& answers, const Act& act, bool& stayed) {
  stayed = false;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->windowTitle(), "Veritrak II Software for Alignment Tool");
    act(*box);
    if (!box->isVisible()) return;
    stayed = true;
    QTest::mouseClick(box->buttons().value(0), Qt::LeftButton);
  });
  MessageBoxQuestions questions;
  return questions.Ask({QuestionKind::Warning, QStringLiteral("Go on?"), answers});
}

TEST(MessageBoxes, EscapeAndCloseAnswerOnlyBoxesWithAWayOut) {
  const struct {
    QList<Answer> answers;
    Answer escape;  // None: the box stays up
  } kinds[] = {
      {{Answer::Retry, Answer::Ignore, Answer::Help}, Answer::None},
      {{Answer::Yes, Answer::No, Answer::All, Answer::Help}, Answer::None},
      {{Answer::Yes, Answer::No, Answer::All}, Answer::None},
      {{Answer::Yes, Answer::No}, Answer::None},
      {{Answer::Ok, Answer::Cancel}, Answer::Cancel},
      {{Answer::Ok}, Answer::Ok},
  };
  const Act escape = [](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Escape); };
  const Act close = [](QMessageBox& box) { box.close(); };
  for (const auto& kind : kinds) {
    SCOPED_TRACE(kind.answers.size() * 100 + static_cast<int>(kind.answers[0]));
    for (const Act& dismiss : {escape, close}) {
      bool stayed = false;
      const Answer answer = AskAndAct(kind.answers, dismiss, stayed);
      EXPECT_EQ(stayed, kind.escape == Answer::None);
      if (stayed)
        EXPECT_TRUE(kind.answers.contains(answer));
      else
        EXPECT_EQ(answer, kind.escape);
    }
    // Each button, clicked, gives the answer its caption names.
    for (qsizetype i = 0; i < kind.answers.size(); ++i) {
      QString caption;
      bool stayed = false;
      const Answer answer = AskAndAct(
          kind.answers,
          [&](QMessageBox& box) {
            QAbstractButton* button = box.buttons().value(i);
            caption = button->text().remove('&');
            QTest::mouseClick(button, Qt::LeftButton);
          },
          stayed);
      const char* names[] = {"", "OK", "Cancel", "Yes", "No", "All", "Retry", "Ignore", "Help"};
      EXPECT_EQ(caption, names[static_cast<int>(answer)]);
      EXPECT_TRUE(kind.answers.contains(answer));
      EXPECT_FALSE(stayed);
    }
  }
}

// A box over the main window waits for its answer while the manual its
// Help opened is scrolled and closed by a person's clicks.
TEST(MessageBoxes, LeaveTheManualUsableWhileTheyWait) {
  const QString manual = FindManual();
  ASSERT_FALSE(manual.isEmpty());
  QWidget window;
  window.show();
  TManualViewer viewer;
  viewer.Show(QUrl::fromLocalFile(manual));
  auto* browser = viewer.findChild<QTextBrowser*>();
  QScrollBar* scroll = browser->verticalScrollBar();
  ASSERT_GT(scroll->maximum(), 0);
  // Through the window system, which keeps clicks from a window a modal one blocks.
  const auto click = [&](QWidget* control, QPoint at) {
    QTest::mouseClick(viewer.windowHandle(), Qt::LeftButton, {}, control->mapTo(&viewer, at));
  };
  bool boxWaited = false;
  QTimer::singleShot(0, [&] {
    QWidget* box = QApplication::activeModalWidget();
    ASSERT_NE(box, nullptr);
    click(scroll, QPoint(scroll->width() / 2, scroll->height() - 8));
    EXPECT_GT(scroll->value(), 0) << "the manual does not scroll";
    QPushButton* close = viewer.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Close);
    click(close, close->rect().center());
    EXPECT_FALSE(viewer.isVisible()) << "the manual does not close";
    boxWaited = box->isVisible();
    QTest::mouseClick(qobject_cast<QMessageBox*>(box)->buttons().value(0), Qt::LeftButton);
  });
  MessageBoxQuestions questions(&window);
  EXPECT_EQ(questions.Ask({QuestionKind::Warning,
                           QStringLiteral("Go on?"),
                           {Answer::Retry, Answer::Ignore, Answer::Help}}),
            Answer::Retry);
  EXPECT_TRUE(boxWaited);
}

TEST(FileFilter, EachPairBecomesOneEntryWithItsPatterns) {
  // Qt reads the patterns from the parentheses only; a trailing bar adds none.
  EXPECT_EQ(QtFileFilter("All Files (*.*)|*.*|Veritrak Encoder Data (*.lis)|*.lis|"),
            "All Files (*.*);;Veritrak Encoder Data (*.lis)");
  EXPECT_EQ(QtFileFilter("Data files|*.man;*.pos|Old (*.txt)|*.man"),
            "Data files (*.man *.pos);;Old (*.txt) (*.man)");
}

}  // namespace
}  // namespace quillon
