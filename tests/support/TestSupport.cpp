// Golden-picture comparison and test-data paths.
#include "tests/support/TestSupport.h"

#include <cstdlib>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>
#include <sstream>

#include "platform/canvas/Bitmap.h"

namespace varnel::test {

std::string SourcePath(const std::string& relative) { return std::string(VARNEL_SOURCE_DIR) + "/" + relative; }

int ReplayCorpus(const std::string& target, const std::function<bool(const std::uint8_t*, std::size_t)>& body) {
  int count = 0;
  for (const auto& entry : std::filesystem::directory_iterator(SourcePath("fuzz/corpus/" + target))) {
    std::ifstream in(entry.path(), std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_TRUE(body(bytes.data(), bytes.size())) << entry.path();
    ++count;
  }
  return count;
}

std::string CompareWithGolden(const TBitmap& actual, const std::string& name, int tolerance, int maxBadPixels) {
  const std::string golden = SourcePath("tests/golden/" + name + ".png");
  const char* update = std::getenv("UPDATE_GOLDEN");
  if (update && std::string(update) == "1") {
    std::filesystem::create_directories(std::filesystem::path(golden).parent_path());
    return SaveBitmapToPng(actual, golden) ? "" : "cannot write " + golden;
  }
  const std::string outDir = std::string(VARNEL_BINARY_DIR) + "/golden-failures";
  std::filesystem::create_directories(outDir);
  TBitmap expected;
  if (!LoadBitmapFromPng(expected, golden)) {
    SaveBitmapToPng(actual, outDir + "/" + name + ".actual.png");
    return "no golden picture " + golden + " (actual written to " + outDir + ")";
  }
  if (expected.Width() != actual.Width() || expected.Height() != actual.Height()) {
    SaveBitmapToPng(actual, outDir + "/" + name + ".actual.png");
    std::ostringstream s;
    s << "size " << actual.Width() << "x" << actual.Height() << " differs from golden " << expected.Width() << "x"
      << expected.Height();
    return s.str();
  }
  TBitmap diff(actual.Width(), actual.Height());
  int bad = 0;
  for (int y = 0; y < actual.Height(); ++y) {
    for (int x = 0; x < actual.Width(); ++x) {
      const auto a = actual.PixelWord(x, y), e = expected.PixelWord(x, y);
      int worst = 0;
      for (int sh = 0; sh <= 16; sh += 8) {
        const int d = std::abs(static_cast<int>((a >> sh) & 0xFF) - static_cast<int>((e >> sh) & 0xFF));
        worst = d > worst ? d : worst;
      }
      const bool isBad = worst > tolerance;
      bad += isBad;
      diff.ScanLine(y)[x] = isBad ? 0x00FF0000u : ((a >> 2) & 0x003F3F3Fu) | 0x00C0C0C0u;
    }
  }
  if (bad <= maxBadPixels) return "";
  SaveBitmapToPng(actual, outDir + "/" + name + ".actual.png");
  SaveBitmapToPng(diff, outDir + "/" + name + ".diff.png");
  std::ostringstream s;
  s << bad << " pixels differ from " << golden << "; see " << outDir << "/" << name << ".{actual,diff}.png";
  return s.str();
}

}  // namespace varnel::test
