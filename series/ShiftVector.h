// TShiftVector: a growable array that also removes and inserts at the front in constant
// amortised time. The scrolling graph drops its oldest point every second; a plain vector
// would move every remaining value for that. Elements live in one vector from a start offset;
// removed front slots are reused by front inserts and given back once the dead prefix reaches
// an eighth of the live part (so a long history keeps at most an eighth more slots than it
// holds, at the price of moving the live part once every eighth of its length).
//
// TDefaultedShiftVector: the same for elements that are nearly always one default value (a
// point's colour or label): it stores nothing until an element other than the default comes in.
//
//   TShiftVector<double> v;  v.push_back(1);  v.push_back(2);  v.erase(0);  // v[0] == 2
#pragma once
#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

namespace varnel {

template <typename T>
class TShiftVector {
 public:
  std::size_t size() const { return FItems.size() - FStart; }
  bool empty() const { return size() == 0; }
  T& operator[](std::size_t i) { return FItems[FStart + i]; }
  const T& operator[](std::size_t i) const { return FItems[FStart + i]; }
  // The live elements as one contiguous run.
  const T* data() const { return FItems.data() + FStart; }
  T* data() { return FItems.data() + FStart; }
  const T& back() const { return FItems.back(); }

  void push_back(T v) { FItems.push_back(std::move(v)); }
  void reserve(std::size_t n) { FItems.reserve(FStart + n); }

  // Inserts before index i (0..size()).
  void insert(std::size_t i, T v) {
    if (i == 0 && FStart > 0) {
      FItems[--FStart] = std::move(v);
      return;
    }
    if (FStart > 0 && i < size() / 2) {
      // Move the shorter front part one slot down into the dead prefix.
      --FStart;
      std::move(FItems.begin() + FStart + 1, FItems.begin() + FStart + 1 + i, FItems.begin() + FStart);
      FItems[FStart + i] = std::move(v);
      return;
    }
    FItems.insert(FItems.begin() + FStart + i, std::move(v));
  }

  // Removes index i (0..size()-1).
  void erase(std::size_t i) {
    if (i < size() / 2) {
      // Shift the front part up by one and grow the dead prefix.
      std::move_backward(FItems.begin() + FStart, FItems.begin() + FStart + i, FItems.begin() + FStart + i + 1);
      FItems[FStart] = T();
      ++FStart;
      if (FStart >= kCompactMin && FStart * 8 >= size()) Compact();
    } else {
      FItems.erase(FItems.begin() + FStart + i);
      if (FStart == FItems.size()) clear();
    }
  }

  // Removes everything and gives the storage back.
  void clear() {
    std::vector<T>().swap(FItems);
    FStart = 0;
  }

 private:
  static constexpr std::size_t kCompactMin = 64;
  void Compact() {
    FItems.erase(FItems.begin(), FItems.begin() + FStart);
    FStart = 0;
  }

  std::vector<T> FItems;
  std::size_t FStart = 0;
};

template <typename T>
class TDefaultedShiftVector {
 public:
  explicit TDefaultedShiftVector(T defaultValue = T()) : FDefault(std::move(defaultValue)) {}

  std::size_t size() const { return FSize; }
  bool empty() const { return FSize == 0; }
  const T& operator[](std::size_t i) const { return FItems.empty() ? FDefault : FItems[i]; }
  // Whether any element is stored (some element was not the default when it came in).
  bool Stored() const { return !FItems.empty(); }

  void push_back(T v) { insert(FSize, std::move(v)); }
  // Inserts before index i (0..size()).
  void insert(std::size_t i, T v) {
    if (FItems.empty()) {
      if (v == FDefault) {
        ++FSize;
        return;
      }
      FItems.reserve(FSize + 1);
      for (std::size_t k = 0; k < FSize; ++k) FItems.push_back(FDefault);
    }
    FItems.insert(i, std::move(v));
    ++FSize;
  }
  // Removes index i (0..size()-1).
  void erase(std::size_t i) {
    if (!FItems.empty()) FItems.erase(i);
    --FSize;
  }
  void clear() {
    FItems.clear();
    FSize = 0;
  }

 private:
  T FDefault;
  std::size_t FSize = 0;
  TShiftVector<T> FItems;  // empty while every element is FDefault
};

}  // namespace varnel
