// A test fixture with a temporary folder of its own that holds "stat", a file in /proc/stat's
// format filled from the recorded files of tests/data/procstat (Use), for the readers of it.
#pragma once
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "tests/support/TestSupport.h"

namespace varnel::test {

class TProcStatFolder : public testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = testing::TempDir() + "/varnel-procstat-XXXXXX";
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    FDir = pattern;
    FStat = FDir + "/stat";
  }
  void TearDown() override { std::filesystem::remove_all(FDir); }
  // Puts tests/data/procstat/<fixture> in place as the folder's "stat".
  void Use(const std::string& fixture) {
    std::filesystem::copy_file(SourcePath("tests/data/procstat/" + fixture), FStat,
                               std::filesystem::copy_options::overwrite_existing);
  }
  std::string FDir, FStat;
};

}  // namespace varnel::test
