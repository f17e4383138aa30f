#include "soak_questions.h"

#include <QEventLoop>
#include <QTimer>
#include <cstdio>
#include <functional>

namespace soak {
namespace {

using quillon::Answer;

const QString kFailureStart = QStringLiteral("Error communicating with Veritrak II Electronics.");
const QString kCannotDetectStart = QStringLiteral("Cannot Detect Veritrak II Electronics.");
constexpr int kPollMs = 20;
constexpr int kReadingMs = 300;

// The window's events run on while the box is up, as under a real modal box.
void ServeEventsUntil(const std::function<bool()>& done) {
  QEventLoop loop;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
    if (done()) loop.quit();
  });
  poll.start(kPollMs);
  if (!done()) loop.exec();
}

void ServeEventsFor(int ms) {
  const Clock::time_point end = Clock::now() + std::chrono::milliseconds(ms);
  ServeEventsUntil([end] { return Clock::now() >= end; });
}

}  // namespace

Answer SoakQuestions::Ask(const quillon::Question& question) {
  if (question.text.startsWith(kFailureStart)) return AnswerFailure();
  return AnswerOther(question);
}

Answer SoakQuestions::AnswerFailure() {
  ++failureBoxes_;
  boxOpen_ = true;
  ServeEventsUntil([this] { return fault_.ClearIfDue(); });
  ServeEventsFor(kReadingMs);
  lastAnswer_ = Clock::now().time_since_epoch().count();
  boxOpen_ = false;
  return givenUp_ ? Answer::No : Answer::Yes;
}

// The search's box is answered as the failure box is: try again while the
// soak goes on. Anything else leaves the window as it was.
Answer SoakQuestions::AnswerOther(const quillon::Question& question) {
  ++otherBoxes_;
  std::printf("unexpected box: %s\n", qPrintable(question.text));
  std::fflush(stdout);
  const bool search = question.text.startsWith(kCannotDetectStart);
  if (search && !givenUp_) {
    ServeEventsUntil([this] { return fault_.ClearIfDue(); });
    return Answer::Retry;
  }
  if (search) return Answer::Ignore;
  for (Answer calm : {Answer::Ok, Answer::Cancel, Answer::No})
    if (question.answers.contains(calm)) return calm;
  return question.answers.isEmpty() ? Answer::None : question.answers.first();
}

QString SoakQuestions::AskFileName(const quillon::FileQuestion& question) {
  ++otherBoxes_;
  std::printf("unexpected file dialog: %s\n", qPrintable(question.title));
  std::fflush(stdout);
  return {};
}

}  // namespace soak
