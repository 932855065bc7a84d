// Helpers shared by the test programs: paths of test data, fuzz corpus replay, and golden-picture
// comparison.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace varnel {
class TBitmap;
namespace test {

// A path below the source tree, e.g. SourcePath("tests/golden/gauge_332x190_37.png").
std::string SourcePath(const std::string& relative);

// Runs a fuzz target's body over every file of fuzz/corpus/<target>, as a test failure for each
// input it rejects; returns how many files there were.
int ReplayCorpus(const std::string& target, const std::function<bool(const std::uint8_t*, std::size_t)>& body);

// Compares a picture with tests/golden/<name>.png. Each channel may differ by `tolerance`;
// at most `maxBadPixels` pixels may exceed it. On failure the actual picture and a diff picture
// are written beside the build's test output and the returned text says where. With
// UPDATE_GOLDEN=1 in the environment the golden file is rewritten and the check passes.
// Returns an empty string on success.
std::string CompareWithGolden(const TBitmap& actual, const std::string& name, int tolerance = 8,
                              int maxBadPixels = 0);

}  // namespace test
}  // namespace varnel
