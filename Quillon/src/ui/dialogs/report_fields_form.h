// The lines a person adds to a set-up report before it is saved: which
// machine, axis and unit it was, and who set it up. The last values are
// offered again next time, from the options file.
#pragma once

#include <QDialog>
#include <QList>
#include <QPair>
#include <QString>
#include <optional>

class QLineEdit;

namespace quillon {

using ReportFields = QList<QPair<QString, QString>>;  // name, value

class TReportFieldsForm : public QDialog {
  Q_OBJECT

 public:
  explicit TReportFieldsForm(QWidget* parent = nullptr);

  // Shows the form modally with the values last given in the options file
  // of `settingsDir`; on OK stores them there and returns the filled ones.
  std::optional<ReportFields> Ask(const QString& settingsDir);

 private:
  QList<QPair<QString, QLineEdit*>> edits_;
};

}  // namespace quillon
