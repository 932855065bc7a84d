// The registry as the sampler sees it: keys opened below a root, values with a type and raw
// bytes, handles closed when done. Results are codes, never exceptions. TMemoryRegistry serves
// the tests; TProcStatRegistry publishes the processor load on Linux.
//
//   TRegKey key;
//   if (reg.OpenKey(HKEY_DYN_DATA, "PerfStats\\StatData", key) == rrSuccess) {
//     std::uint32_t type, size;
//     reg.QueryValue(key, "KERNEL\\CPUUsage", &type, nullptr, &size);   // type and size only
//     reg.CloseKey(key);
//   }
#pragma once
#include <cstdint>
#include <string_view>

namespace varnel {

// A key handle; 0 is no key.
using TRegKey = std::uintptr_t;
// The root of the dynamic (performance) data.
inline constexpr TRegKey HKEY_DYN_DATA = 0x80000006;

// Value types.
inline constexpr std::uint32_t REG_NONE = 0;
inline constexpr std::uint32_t REG_SZ = 1;
inline constexpr std::uint32_t REG_BINARY = 3;
inline constexpr std::uint32_t REG_DWORD = 4;

enum TRegResult : int {
  rrSuccess = 0,
  rrNotFound = 2,        // no such key or value
  rrAccessDenied = 5,
  rrInvalidHandle = 6,   // the key handle is not open
  rrMoreData = 234,      // the buffer is too small; the size needed has been stored
};

class TRegistryProvider {
 public:
  virtual ~TRegistryProvider() = default;

  // Opens `subKey` (components separated by "\", no leading "\") below `parent`, a root or an
  // open key. Never creates a key. On success stores the new handle in `result`.
  virtual TRegResult OpenKey(TRegKey parent, std::string_view subKey, TRegKey& result) = 0;

  // Looks up a value of an open key. Stores its type in *type and, with `data` null, its size
  // in *size. With `data` given, *size is the buffer's size on entry: a value that fits is
  // copied and *size becomes its length; one that does not gives rrMoreData, stores the size
  // needed and leaves the buffer alone. Null `type` or `size` pointers are skipped (a null
  // `size` with `data` given is rrMoreData unless the value is empty).
  virtual TRegResult QueryValue(TRegKey key, std::string_view name, std::uint32_t* type, void* data,
                                std::uint32_t* size) = 0;

  virtual TRegResult CloseKey(TRegKey key) = 0;
};

}  // namespace varnel
