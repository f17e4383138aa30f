// What the window shows of a view, read on the GUI thread.
#pragma once

#include <QString>

namespace quillon {
class TMainForm;
}

namespace soak {

// The view is the current one, its acquisition runs and nothing else holds
// the line.
bool Live(const quillon::TMainForm& form, int view);
// Live, and the controls a page change locks take input again.
bool Ready(const quillon::TMainForm& form, int view);
// The live figures the view shows: they change while its data move.
QString ShownData(const quillon::TMainForm& form, int view);

}  // namespace soak
