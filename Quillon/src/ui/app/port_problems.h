// Ports whose device is there but could not be opened during a search: no
// permission (the serial devices belong to the group "dialout"), or held by
// another program. Each device is told once, with what fixes it.
#pragma once

#include <QList>
#include <QSet>
#include <QString>

namespace quillon {

class PortProblems {
 public:
  // A port of the search that did not open, with the operating system's
  // error; a missing device or one that is no serial line is no problem here.
  void Note(int com, int error);
  // The problems noted and not yet told, as one text; empty when none.
  QString TakeUntold();

 private:
  QList<QString> untold_;
  QSet<QString> told_;
};

}  // namespace quillon
