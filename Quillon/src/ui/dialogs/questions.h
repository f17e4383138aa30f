// Every modal question of the program goes through Questions, so that the
// tests answer them without a person while the program shows message boxes.
#pragma once

#include <QList>
#include <QString>

class QWidget;

namespace quillon {

// The program's own name, the caption of its message boxes. It is not Qt's
// application display name, which the window system would append to every
// window title.
inline constexpr char kApplicationTitle[] = "Veritrak II Software for Alignment Tool";

enum class Answer { None, Ok, Cancel, Yes, No, All, Retry, Ignore, Help };

enum class QuestionKind { Warning, Information, Confirmation, Error };

struct Question {
  QuestionKind kind = QuestionKind::Information;
  QString text;
  QList<Answer> answers;
};

enum class FileDialogKind { Open, Save };

// A file open or save dialog. The filter is the program's own form,
// "description|patterns|description|patterns", as the file types are named.
// A save dialog adds the default extension to a name given without one and
// asks before it replaces an existing file.
struct FileQuestion {
  FileDialogKind kind = FileDialogKind::Open;
  QString title;
  QString filter;
  QString defaultExtension;
};

// Qt's form of such a filter: one "description (patterns)" entry per pair,
// ";;" between them; an empty pair (a trailing bar) adds no entry.
QString QtFileFilter(const QString& filter);

class Questions {
 public:
  virtual ~Questions() = default;
  // One showing of the box. Answer::None when it was dismissed without one
  // of its answers (closed by the window manager, Escape without a cancel).
  virtual Answer Ask(const Question& question) = 0;
  // The chosen file's path, or an empty text when the dialog was cancelled.
  virtual QString AskFileName(const FileQuestion& question) = 0;
};

// Shows the box until one of its answers is chosen; Help is an answer too,
// handled by the caller, who may ask again.
Answer AskUntilAnswered(Questions& questions, const Question& question);

// The real program's questions: Qt message boxes and file dialogs over `parent`.
class MessageBoxQuestions : public Questions {
 public:
  explicit MessageBoxQuestions(QWidget* parent = nullptr) : parent_(parent) {}
  void SetParent(QWidget* parent) { parent_ = parent; }
  Answer Ask(const Question& question) override;
  QString AskFileName(const FileQuestion& question) override;

 private:
  QWidget* parent_;
};

}  // namespace quillon
