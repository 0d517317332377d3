#include <gtest/gtest.h>

#include "framework/application.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  lumitrax::Application().SetTitle(L"Lumitrax");
  lumitrax::Application().Initialize();
  return RUN_ALL_TESTS();
}
