// The window's five views in the order a round visits them, each with the
// inputs that lead to it from the view before, as a person reaches it.
#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <vector>

namespace quillon {
class TMainForm;
}

namespace soak {

struct Hop {
  std::function<void(quillon::TMainForm&)> input;  // given on the GUI thread
  int view;                                        // where it leads
};

struct SoakView {
  const char* name;
  int view;
  std::vector<Hop> route;
  // Back to the page it was opened over, before the round goes on.
  std::optional<Hop> leave;
};

const std::vector<SoakView>& RoundOfViews();

}  // namespace soak
