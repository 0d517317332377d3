#include <gtest/gtest.h>

#include "framework/application.h"

namespace {

// The application object lives through every test: a test that ends the
// session of its main window must not leave the next one in that state.
class RunningSession : public ::testing::EmptyTestEventListener {
  void OnTestStart(const ::testing::TestInfo&) override { lumitrax::Application().SetSessionEnding(false); }
};

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::UnitTest::GetInstance()->listeners().Append(new RunningSession);
  lumitrax::Application().SetTitle(L"Lumitrax");
  lumitrax::Application().Initialize();
  return RUN_ALL_TESTS();
}
