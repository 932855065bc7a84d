// The front-removal arrays under the series' lists: the plain one (which gives its dead front
// slots back as the graph scrolls) and the one that stores nothing while every element is the
// default, both against a std::vector doing the same edits.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "series/ShiftVector.h"

namespace varnel {
namespace {

template <typename V, typename T>
void ExpectSame(const V& v, const std::vector<T>& ref, int step) {
  ASSERT_EQ(v.size(), ref.size()) << step;
  for (std::size_t i = 0; i < ref.size(); ++i) ASSERT_EQ(v[i], ref[i]) << step << " at " << i;
}

TEST(ShiftVector, ScrollsAndEditsLikeAPlainVector) {
  std::mt19937 rng(77);
  const auto pick = [&](std::size_t n) { return static_cast<std::size_t>(rng() % n); };
  TShiftVector<int> v;
  std::vector<int> ref;
  // Fill, scroll long enough to give the front back many times, then mixed edits.
  for (int i = 0; i < 1000; ++i) v.push_back(i), ref.push_back(i);
  for (int step = 0; step < 20000; ++step) {
    const std::size_t op = pick(step < 5000 ? 2 : 10);
    if (op < 2 && !ref.empty()) {  // the graph's tick
      v.erase(0), ref.erase(ref.begin());
      v.push_back(step), ref.push_back(step);
    } else if (op < 5) {
      const std::size_t at = pick(ref.size() + 1);
      v.insert(at, -step), ref.insert(ref.begin() + static_cast<std::ptrdiff_t>(at), -step);
    } else if (!ref.empty()) {
      const std::size_t at = op < 7 ? 0 : pick(ref.size());
      v.erase(at), ref.erase(ref.begin() + static_cast<std::ptrdiff_t>(at));
    }
    if (step % 97 == 0 || ref.size() < 4) ExpectSame(v, ref, step);
    if (v.size() > 0) {
      ASSERT_EQ(v.data()[v.size() - 1], ref.back());
    }
  }
  ExpectSame(v, ref, -1);
}

TEST(ShiftVector, DefaultedStoresOnlyOnceAnElementDiffers) {
  std::mt19937 rng(78);
  const auto pick = [&](std::size_t n) { return static_cast<std::size_t>(rng() % n); };
  for (int round = 0; round < 4; ++round) {
    TDefaultedShiftVector<std::string> v("-");
    std::vector<std::string> ref;
    for (int step = 0; step < 3000; ++step) {
      // Nearly always the default; a round without any other value must store nothing.
      const std::string value = round > 0 && pick(50) == 0 ? "x" + std::to_string(step) : "-";
      const std::size_t op = pick(10);
      if (op < 5) {
        const std::size_t at = op < 3 ? ref.size() : pick(ref.size() + 1);
        v.insert(at, value), ref.insert(ref.begin() + static_cast<std::ptrdiff_t>(at), value);
      } else if (op < 9 && !ref.empty()) {
        const std::size_t at = op < 7 ? 0 : pick(ref.size());
        v.erase(at), ref.erase(ref.begin() + static_cast<std::ptrdiff_t>(at));
      } else if (op == 9 && pick(20) == 0) {
        v.clear(), ref.clear();
      }
      if (step % 31 == 0 || ref.size() < 4) ExpectSame(v, ref, step);
      if (round == 0) {
        ASSERT_FALSE(v.Stored()) << step;
      }
    }
    ExpectSame(v, ref, -1);
  }
}

}  // namespace
}  // namespace varnel
