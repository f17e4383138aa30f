// Answers the program's own modal dialogs (the radio choice, the text entry)
// as a user does: once a dialog is up, the test's next step types and clicks
// on it. Each showing takes the next step; a dialog shown with no step left
// fails the test and is cancelled.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <deque>
#include <functional>

#include "edit_dialog.h"
#include "radio_dialog.h"
#include "radio_group.h"

namespace quillon {

class ModalDialogs : public QObject {
 public:
  using Step = std::function<void(QDialog&)>;

  ModalDialogs() { qApp->installEventFilter(this); }
  ~ModalDialogs() override {
    qApp->removeEventFilter(this);
    EXPECT_TRUE(steps_.empty()) << steps_.size() << " dialog steps left";
  }

  void Then(Step step) { steps_.push_back(std::move(step)); }
  int Shown() const { return shown_; }

  // Steps that users take.
  static void Click(QDialog& dialog, const char* button) {
    auto* target = dialog.findChild<QPushButton*>(button);
    ASSERT_NE(target, nullptr) << button;
    QTest::mouseClick(target, Qt::LeftButton);
  }
  static void Type(QDialog& dialog, const char* box, const QString& text) {
    auto* edit = dialog.findChild<QLineEdit*>(box);
    ASSERT_NE(edit, nullptr) << box;
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
  }
  static void ChooseItem(QDialog& dialog, int index) {
    const auto items = dialog.findChild<RadioGroup*>()->findChildren<QRadioButton*>();
    ASSERT_LT(index, items.size());
    QTest::mouseClick(items[index], Qt::LeftButton, {}, QPoint(8, items[index]->height() / 2));
  }
  static int ChosenItem(QDialog& dialog) { return dialog.findChild<RadioGroup*>()->ItemIndex(); }

 protected:
  // Every showing of a question dialog takes the next step, once its own
  // event loop runs.
  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* dialog = qobject_cast<QDialog*>(watched);
    const bool question =
        qobject_cast<TRadioDialog*>(watched) || qobject_cast<TEditDialogForm*>(watched);
    if (event->type() == QEvent::Show && !event->spontaneous() && question) {
      ++shown_;
      QTimer::singleShot(0, dialog, [this, dialog] { TakeStep(*dialog); });
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  void TakeStep(QDialog& dialog) {
    if (steps_.empty()) {
      ADD_FAILURE() << "unexpected dialog: " << dialog.windowTitle().toStdString();
      dialog.reject();
      return;
    }
    const Step step = std::move(steps_.front());
    steps_.pop_front();
    step(dialog);
  }

  std::deque<Step> steps_;
  int shown_ = 0;
};

}  // namespace quillon
