// The in-memory registry: keys in a map by lower-case path, handles numbered from 1.
#include "platform/registry/MemoryRegistry.h"

#include <cstring>

namespace varnel {

namespace {
const std::string kRootPath;  // HKEY_DYN_DATA itself

std::string LogEntry(const std::string* path, std::string_view name, std::string_view suffix) {
  std::string entry = path ? *path : std::string("?");
  entry.append("|").append(name).append(suffix);
  return entry;
}
}  // namespace

std::string TMemoryRegistry::Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

void TMemoryRegistry::AddKey(const std::string& path) {
  const std::string p = Lower(path);
  for (std::size_t i = p.find('\\'); i != std::string::npos; i = p.find('\\', i + 1)) FKeys[p.substr(0, i)];
  FKeys[p];
}

void TMemoryRegistry::DeleteKey(const std::string& path) {
  const std::string p = Lower(path);
  FKeys.erase(p);
  std::string prefix = p;
  prefix.push_back('\\');
  for (auto it = FKeys.lower_bound(prefix); it != FKeys.end() && it->first.compare(0, prefix.size(), prefix) == 0;)
    it = FKeys.erase(it);
}

void TMemoryRegistry::SetValue(const std::string& path, const std::string& name, std::uint32_t type,
                               std::vector<std::uint8_t> bytes) {
  AddKey(path);
  FKeys[Lower(path)].Values[Lower(name)] = TValue{type, std::move(bytes)};
}

void TMemoryRegistry::SetDword(const std::string& path, const std::string& name, std::uint32_t v) {
  SetValue(path, name, REG_DWORD,
           {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v >> 16),
            static_cast<std::uint8_t>(v >> 24)});
}

void TMemoryRegistry::SetString(const std::string& path, const std::string& name, const std::string& text) {
  std::vector<std::uint8_t> bytes(text.begin(), text.end());
  bytes.push_back(0);
  SetValue(path, name, REG_SZ, std::move(bytes));
}

const std::string* TMemoryRegistry::PathOf(TRegKey key) const {
  if (key == HKEY_DYN_DATA) return &kRootPath;
  auto it = FHandles.find(key);
  return it == FHandles.end() ? nullptr : &it->second;
}

TRegResult TMemoryRegistry::OpenKey(TRegKey parent, std::string_view subKey, TRegKey& result) {
  const std::string* base = PathOf(parent);
  if (FLogging) FOpenLog.push_back(LogEntry(base, subKey, ""));
  if (!base) return rrInvalidHandle;
  std::string path = *base;
  if (!subKey.empty()) {
    if (!path.empty()) path.append("\\");
    path.append(Lower(subKey));
  }
  if (path.empty() || !FKeys.count(path)) return rrNotFound;
  result = FNextHandle++;
  FHandles[result] = path;
  return rrSuccess;
}

TRegResult TMemoryRegistry::QueryValue(TRegKey key, std::string_view name, std::uint32_t* type, void* data,
                                       std::uint32_t* size) {
  const std::string* path = PathOf(key);
  if (FLogging) FQueryLog.push_back(LogEntry(path, name, data ? "+data" : ""));
  if (!path) return rrInvalidHandle;
  auto k = FKeys.find(*path);
  if (k == FKeys.end()) return rrNotFound;  // deleted while open
  auto v = k->second.Values.find(Lower(name));
  if (v == k->second.Values.end()) return rrNotFound;
  const std::vector<std::uint8_t>& bytes = v->second.Bytes;
  const auto length = static_cast<std::uint32_t>(bytes.size());
  if (type) *type = v->second.Type;
  if (data) {
    if (!size || *size < length) {
      if (size) *size = length;
      return rrMoreData;
    }
    if (length) std::memcpy(data, bytes.data(), length);
  }
  if (size) *size = length;
  return rrSuccess;
}

TRegResult TMemoryRegistry::CloseKey(TRegKey key) {
  return FHandles.erase(key) ? rrSuccess : rrInvalidHandle;
}

}  // namespace varnel
