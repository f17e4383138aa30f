// The dialogs' questions answered without a person: every box asked is kept,
// and each is answered with its first answer; every file dialog is kept and
// answered with `fileName` (empty: cancelled).
#pragma once

#include <gtest/gtest.h>

#include <QList>
#include <QWidget>

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
  QStringList Texts() const {
    QStringList texts;
    for (const Question& question : asked) texts << question.text;
    return texts;
  }

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

}  // namespace quillon
