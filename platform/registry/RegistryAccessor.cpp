// The registry accessor: current-key bookkeeping and the binary-value read rules.
#include "platform/registry/RegistryAccessor.h"

#include "base/Exceptions.h"
#include "base/Messages.h"

namespace varnel {

void TRegistryAccessor::SetRootKey(TRegKey root) {
  if (root == FRootKey) return;
  CloseKey();
  FRootKey = root;
}

bool TRegistryAccessor::OpenKey(std::string_view key) {
  TRegKey parent = FCurrentKey ? FCurrentKey : FRootKey;
  if (!key.empty() && key[0] == '\\') {
    parent = FRootKey;
    key.remove_prefix(1);
  }
  TRegKey opened = 0;
  if (FProvider->OpenKey(parent, key, opened) != rrSuccess) return false;
  CloseKey();
  FCurrentKey = opened;
  return true;
}

void TRegistryAccessor::CloseKey() {
  if (FCurrentKey) FProvider->CloseKey(FCurrentKey);
  FCurrentKey = 0;
}

std::optional<TRegDataInfo> TRegistryAccessor::GetDataInfo(std::string_view name) const {
  if (!FCurrentKey) return std::nullopt;
  TRegDataInfo info;
  if (FProvider->QueryValue(FCurrentKey, name, &info.Type, nullptr, &info.Size) != rrSuccess) return std::nullopt;
  return info;
}

std::optional<std::uint32_t> TRegistryAccessor::ReadBinaryData(std::string_view name, void* buffer,
                                                               std::uint32_t bufSize) {
  const std::optional<TRegDataInfo> info = GetDataInfo(name);
  if (!info) return std::nullopt;
  if (info->Type != REG_BINARY || info->Size > bufSize)
    throw ERegistryException(FormatMessage(msg::InvalidRegType, {name}));
  std::uint32_t type = REG_NONE;
  std::uint32_t size = info->Size;  // exactly the size found, never the whole buffer
  if (FProvider->QueryValue(FCurrentKey, name, &type, buffer, &size) != rrSuccess || size > info->Size)
    throw ERegistryException(FormatMessage(msg::RegGetDataFailed, {name}));
  return size;
}

}  // namespace varnel
