#include "report_fields_form.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFormLayout>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QSettings>

#include "extra_options.h"

namespace quillon {
namespace {

constexpr int kLongestValue = 200;

const std::pair<const char*, const char*> kFields[] = {
    {"serial", "Serial number"}, {"operator", "Operator"}, {"machine", "Machine"}, {"axis", "Axis"}};

QSettings OptionsFile(const QString& settingsDir) {
  return QSettings(QDir(settingsDir).filePath(QString::fromLatin1(kExtraOptionsFile)),
                   QSettings::IniFormat);
}

QString Key(const QString& name) { return QStringLiteral("report/") + name; }

}  // namespace

TReportFieldsForm::TReportFieldsForm(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("ReportFieldsForm"));
  setWindowTitle(QStringLiteral("Set-up Report"));
  setModal(true);
  auto* layout = new QFormLayout(this);
  // A value is one line of the report's text twin: no control characters.
  auto* printable = new QRegularExpressionValidator(
      QRegularExpression(QStringLiteral("[^\\x00-\\x1f\\x7f]*")), this);
  for (const auto& [name, label] : kFields) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setMaxLength(kLongestValue);
    edit->setValidator(printable);
    layout->addRow(QString::fromLatin1(label), edit);
    edits_.append({QString::fromLatin1(name), edit});
  }
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addRow(buttons);
}

std::optional<ReportFields> TReportFieldsForm::Ask(const QString& settingsDir) {
  for (const auto& [name, edit] : edits_)
    edit->setText(OptionsFile(settingsDir).value(Key(name)).toString().left(kLongestValue));
  edits_.front().second->setFocus();
  if (exec() != QDialog::Accepted) return std::nullopt;
  QSettings file = OptionsFile(settingsDir);
  ReportFields fields;
  for (const auto& [name, edit] : edits_) {
    const QString value = edit->text().trimmed();
    file.setValue(Key(name), value);
    if (!value.isEmpty()) fields.append({name, value});
  }
  return fields;
}

}  // namespace quillon
