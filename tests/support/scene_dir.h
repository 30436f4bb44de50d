// A logic test with a fresh folder for the band files it writes, removed afterwards. The folder
// is memory-backed where possible: freeing large sparse files on a disk can take a second each.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <string>

#include "import/import.h"
#include "support/recording_platform.h"

class SceneDirTest : public LogicTest {
 protected:
  void SetUp() override {
    LogicTest::SetUp();
    ForgetSatelliteDialogValues();
    const std::filesystem::path base = access("/dev/shm", W_OK) == 0
                                           ? std::filesystem::path("/dev/shm")
                                           : std::filesystem::temp_directory_path();
    m_dir = base / ("geolumen_test_" + std::to_string(getpid()) + "_" +
                    ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(m_dir);
  }
  void TearDown() override {
    std::filesystem::remove_all(m_dir);
    LogicTest::TearDown();
  }

  std::string PathOf(const std::string& strName) const { return (m_dir / strName).string(); }

  std::filesystem::path m_dir;
};
