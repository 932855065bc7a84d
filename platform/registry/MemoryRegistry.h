// TMemoryRegistry: a registry held in memory, for tests and tools: keys below HKEY_DYN_DATA
// with typed values of any length, names matched without regard to ASCII case, and a count of
// the handles still open so a test can see that every opened key was closed. A test that wants
// the calls themselves turns the call log on; it is off otherwise, so a long run keeps nothing.
//
//   TMemoryRegistry reg;
//   reg.SetBinary("PerfStats\\StatData", "KERNEL\\CPUUsage", {37, 0, 0, 0});
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/registry/RegistryProvider.h"

namespace varnel {

class TMemoryRegistry : public TRegistryProvider {
 public:
  // Creates a key (and the keys above it) below HKEY_DYN_DATA; no leading "\".
  void AddKey(const std::string& path);
  void DeleteKey(const std::string& path);
  // Stores a value, creating its key; replaces a value of the same name.
  void SetValue(const std::string& path, const std::string& name, std::uint32_t type,
                std::vector<std::uint8_t> bytes);
  void SetBinary(const std::string& path, const std::string& name, std::vector<std::uint8_t> bytes) {
    SetValue(path, name, REG_BINARY, std::move(bytes));
  }
  void SetDword(const std::string& path, const std::string& name, std::uint32_t v);
  void SetString(const std::string& path, const std::string& name, const std::string& text);  // with its NUL

  // Handles opened and not yet closed.
  int OpenHandleCount() const { return static_cast<int>(FHandles.size()); }
  // Whether OpenLog and QueryLog record calls (they do not by default).
  void SetLogging(bool on) { FLogging = on; }
  // Every OpenKey call, successful or not, as "parent path|sub key" ("" for the root).
  const std::vector<std::string>& OpenLog() const { return FOpenLog; }
  // Every QueryValue call as "key path|value name", with "+data" when a buffer was given.
  const std::vector<std::string>& QueryLog() const { return FQueryLog; }

  TRegResult OpenKey(TRegKey parent, std::string_view subKey, TRegKey& result) override;
  TRegResult QueryValue(TRegKey key, std::string_view name, std::uint32_t* type, void* data,
                        std::uint32_t* size) override;
  TRegResult CloseKey(TRegKey key) override;

 private:
  struct TValue {
    std::uint32_t Type = REG_NONE;
    std::vector<std::uint8_t> Bytes;
  };
  struct TKey {
    std::map<std::string, TValue> Values;  // by lower-case name
  };
  static std::string Lower(std::string_view s);
  // The key path a handle or the root stands for; no value for an unknown handle.
  const std::string* PathOf(TRegKey key) const;

  std::map<std::string, TKey> FKeys;          // by lower-case path
  std::map<TRegKey, std::string> FHandles;    // open handle -> lower-case path
  TRegKey FNextHandle = 1;
  bool FLogging = false;
  std::vector<std::string> FOpenLog, FQueryLog;
};

}  // namespace varnel
