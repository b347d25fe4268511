// The main of every test program. ctest runs each test in a process of its own, and tests run in
// parallel: each process gets a fresh, empty user data folder (XDG_DATA_HOME), so that no two tests
// ever see each other's saves or replays and none ever touches the real player's. A test that wants
// a folder of its own still sets XDG_DATA_HOME itself.
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <stdexcept>
#include <string>

#include <gtest/gtest.h>

#include "tests/support/TestSupport.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  std::string dataHome;
  try {
    dataHome = TestSupport::MakeTempDirectory("velkor_user_data_");
  } catch (const std::exception& failure) {
    // Going on with the caller's folder could write into the player's real data.
    std::cerr << "no user data folder for the tests: " << failure.what() << "\n";
    return 2;
  }
  setenv("XDG_DATA_HOME", dataHome.c_str(), 1);
  const int result = RUN_ALL_TESTS();
  std::error_code ignored;
  std::filesystem::remove_all(dataHome, ignored);
  return result;
}
