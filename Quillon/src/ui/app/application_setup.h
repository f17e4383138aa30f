// What the program sets on its application object before the first window:
// the windows, their titles and the tests see the same application.
#pragma once

namespace quillon {

void SetUpApplication();

}  // namespace quillon
