// TRegistryAccessor: one use of the registry: a root and at most one open key, the current
// key, which is closed when another one opens and when the accessor is destroyed, also while
// an exception passes.
//
//   TRegistryAccessor reg(provider);
//   reg.SetRootKey(HKEY_DYN_DATA);
//   reg.OpenKey("\\PerfStats\\StatData");
//   std::uint8_t buf[4] = {};
//   reg.ReadBinaryData("KERNEL\\CPUUsage", buf, sizeof buf);
#pragma once
#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/registry/RegistryProvider.h"

namespace varnel {

struct TRegDataInfo {
  std::uint32_t Type = REG_NONE;
  std::uint32_t Size = 0;
};

class TRegistryAccessor {
 public:
  explicit TRegistryAccessor(TRegistryProvider& provider) : FProvider(&provider) {}
  ~TRegistryAccessor() { CloseKey(); }
  TRegistryAccessor(const TRegistryAccessor&) = delete;
  TRegistryAccessor& operator=(const TRegistryAccessor&) = delete;

  TRegKey RootKey() const { return FRootKey; }
  // Changing the root closes the current key.
  void SetRootKey(TRegKey root);
  TRegKey CurrentKey() const { return FCurrentKey; }

  // Opens an existing key: from the root when `key` starts with "\" (which is dropped),
  // otherwise below the current key (or the root when none is open). On success the new key
  // becomes the current one and the previous one is closed; on failure nothing changes.
  bool OpenKey(std::string_view key);
  void CloseKey();

  // Type and size of a value of the current key; none when no key is open or the value is
  // missing.
  std::optional<TRegDataInfo> GetDataInfo(std::string_view name) const;

  // Reads a REG_BINARY value of at most `bufSize` bytes to the start of `buffer` and returns
  // its length; the bytes after it are left alone. None, with the buffer untouched, when no
  // key is open or the value is missing. Raises ERegistryException "Invalid data type for
  // '%s'" for another type or a longer value, and "Failed to get data for '%s'" when the value
  // cannot be read after its size was found.
  std::optional<std::uint32_t> ReadBinaryData(std::string_view name, void* buffer, std::uint32_t bufSize);

 private:
  TRegistryProvider* FProvider;
  TRegKey FRootKey = 0;
  TRegKey FCurrentKey = 0;
};

}  // namespace varnel
