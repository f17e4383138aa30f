// The engineering display's thread: reads every register and counter of the
// survey in turn and shows a whole pass at once.
#pragma once

#include <QStringList>

#include "acquisition_thread.h"

namespace quillon {

class ReadAllThread final : public AcquisitionThread {
  Q_OBJECT

 public:
  explicit ReadAllThread(ComData& com);

  // The survey's registers in display order; the three counters and the
  // joined position follow them.
  static const std::array<uint8_t, 26> kRegisters;

 private:
  void RunStep() override;
  bool ReadPass(QStringList& texts);
  bool Entry(const std::function<int32_t()>& read);

  QStringList texts_;
};

}  // namespace quillon
