// The framework_ui_tests program: the metafile picture class registered as the program's
// start-up registers it, then all tests.
#include <gtest/gtest.h>

#include "framework/ui/metafile_picture.h"

int main(int argc, char** argv) {
  fw::RegisterMetafileEx();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
