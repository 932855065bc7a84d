// Helpers shared by the test programs: paths of test data, and golden-picture comparison.
#pragma once
#include <string>

namespace varnel {
class TBitmap;
namespace test {

// A path below the source tree, e.g. SourcePath("tests/golden/gauge_332x190_37.png").
std::string SourcePath(const std::string& relative);

// Compares a picture with tests/golden/<name>.png. Each channel may differ by `tolerance`;
// at most `maxBadPixels` pixels may exceed it. On failure the actual picture and a diff picture
// are written beside the build's test output and the returned text says where. With
// UPDATE_GOLDEN=1 in the environment the golden file is rewritten and the check passes.
// Returns an empty string on success.
std::string CompareWithGolden(const TBitmap& actual, const std::string& name, int tolerance = 8,
                              int maxBadPixels = 0);

}  // namespace test
}  // namespace varnel
