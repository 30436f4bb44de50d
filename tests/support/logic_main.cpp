#include <gtest/gtest.h>

#include "app/features.h"

// The logic tests run against the whole program's registrations, as the program starts.
int main(int argc, char* argv[]) {
  RegisterFeatures();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
