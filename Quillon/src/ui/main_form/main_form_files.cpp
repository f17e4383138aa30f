// Saving the data buffers to their files or as CSV, and loading a file back
// for review: the File menu posts the request, the read/write cycle asks for
// the file and runs the writer or the connection's reader once the line is
// free.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <array>
#include <utility>

#include "canvas_widgets.h"
#include "csv_export.h"
#include "main_form.h"
#include "questions.h"
#include "radio_group.h"

namespace quillon {
namespace {

constexpr int kSaveMs = 300;
constexpr int kLoadMs = 300;
// Loaded positions are shown with this many decimals whatever their units.
constexpr int32_t kLoadedDigits = 5;

struct SaveDialog {
  const char* title;
  const char* extension;
  const char* filter;
};

// By view, which is also the kind of buffer.
constexpr std::array<SaveDialog, kPlottedViews> kSaveDialogs{{
    {"Save Setup and Status Data as:", "man",
     "Veritrak Setup and Status Data (*.man)|*.man|All Files (*.*)|*.*"},
    {"Save Encoder Signal Data as:", "lis",
     "Veritrak Encoder Data (*.lis)|*.lis|All Files (*.*)|*.*"},
    {"Save Signal Strength Data as:", "str",
     "Veritrak Signal Strength Data (*.str)|*.str|All Files (*.*)|*.*"},
    {"Save Position/Velocity Data as:", "pos",
     "Veritrak Position/Velocity Data (*.pos)|*.pos|All Files (*.*)|*.*"},
}};

constexpr SaveDialog kCsvDialog{"Export Data as CSV:", "csv",
                                "Comma-Separated Values (*.csv)|*.csv|All Files (*.*)|*.*"};

constexpr std::array<const char*, kPlottedViews> kLoadedMessages{
    "Setup and Status Data successfully loaded", "Encoder Signal Data successfully loaded",
    "Signal Strength Data successfully loaded", "Position and Velocity Data successfully loaded"};

const char* const kLoadTitle = "Choose Data File to Open";
const char* const kLoadFilter =
    "All Files (*.*)|*.*|Veritrak Setup and Status Data (*.man)|*.man|Veritrak "
    "Position/Velocity Data (*.pos)|*.pos|Veritrak Signal Strength Data (*.str)|*.str|Veritrak "
    "Encoder Data (*.lis)|*.lis|";
const char* const kCannotSave =
    "Cannot Save to File.  Verify the file is not being used by any other application.";
const char* const kInvalidFile = "Invalid Software File Type";

void Tell(Questions& questions, QuestionKind kind, const char* text) {
  AskUntilAnswered(questions, {kind, QString::fromLatin1(text), {Answer::Ok}});
}

}  // namespace

void TMainForm::ConnectFileMenu() {
  connect(Loaddata1, &QAction::triggered, this, &TMainForm::Loaddata1Click);
  for (auto [item, view] :
       {std::pair{StatusandSetup1, StatusView}, std::pair{EncoderSignal1, SignalView},
        std::pair{SignalStrengthData1, StrengthView},
        std::pair{PositionandVelocityData1, PositionView}})
    connect(item, &QAction::triggered, this, [this, view = view] { SaveDataClick(view); });
  connect(ExportCsv1, &QAction::triggered, this, [this] { SaveDataClick(CurrentView, true); });
  // The export writes the rows a save writes: it is offered where Save is.
  const auto followSave = [this] { ExportCsv1->setEnabled(Savedata1->isEnabled()); };
  followSave();
  connect(Savedata1, &QAction::changed, this, followSave);
}

// ---- saving ----

void TMainForm::SaveDataClick(int view, bool asCsv) {
  saveAsCsv_ = asCsv;
  if (!DemoMode) LockControls();
  commandBusy_ = true;
  PreviousView = CurrentView;
  CurrentView = view;
  PostRequest(16, kSaveMs);
}

void TMainForm::SaveCurrentBuffer() {
  if (CurrentView < StatusView || CurrentView > PositionView) return;
  const SaveDialog& dialog = saveAsCsv_ ? kCsvDialog : kSaveDialogs[CurrentView];
  const QString fileName = questions_.AskFileName(
      {FileDialogKind::Save, QString::fromLatin1(dialog.title), QString::fromLatin1(dialog.filter),
       QString::fromLatin1(dialog.extension)});
  if (fileName.isEmpty()) return;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  if (WriteBuffer(CurrentView, fileName)) return;
  NormalCursor();
  Tell(questions_, QuestionKind::Error, kCannotSave);
}

bool TMainForm::WriteBuffer(int view, const QString& fileName) const {
  const QString& units = Persisted.DisplayUnits;
  if (saveAsCsv_)
    return ExportCsv(*Connection, view,
                     {units, CountLength, PositionScale, Persisted.PositionDigits}, fileName);
  switch (view) {
    case StatusView:
      return Connection->SaveStatusData(fileName, units, CountLength, PositionScale);
    case SignalView:
      return Connection->SaveSignalData(fileName);
    case StrengthView:
      return Connection->SaveStrengthData(fileName, units, CountLength, PositionScale);
    default:
      return Connection->SavePositionData(fileName, units, CountLength, PositionScale);
  }
}

// ---- loading ----

void TMainForm::Loaddata1Click() {
  commandBusy_ = true;
  PostRequest(19, kLoadMs);
}

// The boxes are shown with the normal cursor: the hourglass lasts only as
// long as the file is read.
void TMainForm::LoadDataFile() {
  const QString fileName = questions_.AskFileName({FileDialogKind::Open,
                                                   QString::fromLatin1(kLoadTitle),
                                                   QString::fromLatin1(kLoadFilter),
                                                   {}});
  if (fileName.isEmpty()) return;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const LoadResult loaded = Connection->LoadData(fileName);
  NormalCursor();
  if (!loaded.ok) {
    Tell(questions_, QuestionKind::Error, kInvalidFile);
    return;
  }
  if (loaded.kind != SignalView) TakeFileUnits(loaded);
  TimeText2->setText(QStringLiteral("0.0"));
  Tell(questions_, QuestionKind::Information, kLoadedMessages[loaded.kind]);
  ShowLoadedView(loaded.kind);
}

// Without electronics the file's units are the only ones that fit its
// positions; with electronics connected the connection's units stand.
void TMainForm::TakeFileUnits(const LoadResult& loaded) {
  if (!DemoMode) return;
  if (!ownUnits_) ownUnits_ = OwnUnits{Persisted.DisplayUnits, Persisted.PositionDigits};
  Persisted.DisplayUnits = loaded.units;
  Persisted.PositionDigits = kLoadedDigits;
  CountLength = loaded.countLength;
  PositionScale = loaded.positionScale;
  UnitsBox->setText(loaded.units);
}

// The loaded buffer's page, stopped, with Back, View and Stop ready to
// review it.
void TMainForm::ShowLoadedView(int kind) {
  PreviousView = CurrentView;
  CurrentView = kind;
  ShowCurrentView();
  FormActivate();
  if (kind == SignalView || kind == PositionView) PlotTypeGroup->setEnabled(true);
  StopButtonClick();
  for (QWidget* button : std::initializer_list<QWidget*>{FastButton, ReviewButton, StopButton})
    button->setEnabled(true);
}

// A file's units are shown for its data only; the settings keep the user's.
Settings TMainForm::SettingsToStore() const {
  Settings stored = Persisted;
  if (ownUnits_) {
    stored.DisplayUnits = ownUnits_->displayUnits;
    stored.PositionDigits = ownUnits_->positionDigits;
  }
  return stored;
}

}  // namespace quillon
