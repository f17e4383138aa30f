// The dialogs' questions answered without a person: every box asked is kept,
// and each is answered with its first answer; every file dialog is kept and
// answered with `fileName` (empty: cancelled). Beside it, the few ways a
// person works a dialog that every dialog test needs.
#pragma once

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "questions.h"

namespace quillon {

class RecordingQuestions : public Questions {
 public:
  Answer Ask(const Question& question) override {
    asked.append(question);
    return question.answers.value(0, Answer::None);
  }
  QString AskFileName(const FileQuestion& question) override {
    fileQuestions.append(question);
    return fileName;
  }
  // The text of the first box asked, empty when none was.
  QString FirstText() const { return asked.value(0).text; }

  QList<Question> asked;
  QList<FileQuestion> fileQuestions;
  QString fileName;
};

template <class T>
T* Child(const QWidget& parent, const char* name) {
  T* child = parent.findChild<T*>(name);
  EXPECT_NE(child, nullptr) << name;
  return child;
}

inline void ClickButton(const QWidget& parent, const char* name) {
  if (auto* button = Child<QPushButton>(parent, name)) QTest::mouseClick(button, Qt::LeftButton);
}

// On the round mark of a radio item: a radio button stretched by its group
// takes clicks only on its mark and caption.
inline void ClickItem(const QWidget& parent, const char* group, int index) {
  QRadioButton* item = Child<QWidget>(parent, group)->findChildren<QRadioButton*>().value(index);
  ASSERT_NE(item, nullptr);
  QTest::mouseClick(item, Qt::LeftButton, {}, QPoint(8, item->height() / 2));
}

// Replaces the text of an edit box as a person does: select all, delete, type.
inline void Retype(QLineEdit* edit, const QString& text) {
  QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(edit, Qt::Key_Delete);
  QTest::keyClicks(edit, text);
}

// The three ways out of a dialog: its own button, Escape wherever the focus
// is, and the title bar's close box, which goes through closeEvent.
enum class Dismissal { Button, Escape, CloseBox };
constexpr Dismissal kDismissals[] = {Dismissal::Button, Dismissal::Escape, Dismissal::CloseBox};

inline void Dismiss(QWidget& dialog, Dismissal how, const char* button) {
  if (how == Dismissal::Button) ClickButton(dialog, button);
  QWidget* focus = dialog.focusWidget() ? dialog.focusWidget() : &dialog;
  if (how == Dismissal::Escape) QTest::keyClick(focus, Qt::Key_Escape);
  if (how == Dismissal::CloseBox) dialog.close();
}

}  // namespace quillon
