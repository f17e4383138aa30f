// The file types as the program names them, turned into the filters of Qt's
// file dialogs.
#include "questions.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

TEST(FileFilter, EachPairBecomesOneEntryAndATrailingBarNone) {
  EXPECT_EQ(QtFileFilter("All Files (*.*)|*.*|Veritrak Setup and Status Data (*.man)|*.man|"
                         "Veritrak Encoder Data (*.lis)|*.lis|"),
            "All Files (*.*);;Veritrak Setup and Status Data (*.man);;Veritrak Encoder Data "
            "(*.lis)");
}

TEST(FileFilter, PatternsMissingFromTheDescriptionAreAdded) {
  // Qt reads the patterns from the parentheses only.
  EXPECT_EQ(QtFileFilter("Data files|*.man;*.pos|Anything (*.*)|*.*"),
            "Data files (*.man *.pos);;Anything (*.*)");
  EXPECT_EQ(QtFileFilter("Old (*.txt)|*.man"), "Old (*.txt) (*.man)");
}

}  // namespace
}  // namespace quillon
