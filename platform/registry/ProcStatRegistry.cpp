// The Linux dynamic-data provider: three fixed keys and the load from /proc/stat.
#include "platform/registry/ProcStatRegistry.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include "platform/profile/ProfileText.h"

namespace varnel {
namespace {

// Handles of the three keys; they stay valid for the provider's life.
enum : TRegKey { kStartSrv = 1, kStartStat = 2, kStatData = 3 };

}  // namespace

TProcStatRegistry::TProcStatRegistry(std::string statPath) : FStatPath(std::move(statPath)) { TakeSnapshot(); }

TProcStatRegistry::~TProcStatRegistry() { CloseFile(); }

void TProcStatRegistry::CloseFile() {
  if (FFile >= 0) ::close(FFile);
  FFile = -1;
}

long TProcStatRegistry::ReadFromStart(char* buffer, unsigned long size) {
  // The kept descriptor, and one more try on a fresh one when it fails to read, or when it reads
  // what it read last time and its file has lost its name: a file deleted, or replaced by a
  // rename (the way a writer publishes a whole new file), keeps its old counters for ever.
  for (int tries = FFile >= 0 ? 2 : 1; tries > 0; --tries) {
    if (FFile < 0) {
      FFile = ::open(FStatPath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
      if (FFile < 0) return -1;
    }
    ssize_t n;
    do n = ::pread(FFile, buffer, size, 0);  // a /proc file is made anew by a read from its start
    while (n < 0 && errno == EINTR);
    if (n > 0) {
      const auto count = static_cast<std::size_t>(n);
      const bool same = count == FLastSize && std::memcmp(buffer, FLast.data(), count) == 0;
      struct stat st;
      if (!same || tries == 1 || (::fstat(FFile, &st) == 0 && st.st_nlink > 0)) {
        FLastSize = std::min(count, FLast.size());
        std::memcpy(FLast.data(), buffer, FLastSize);
        return n;
      }
    }
    CloseFile();
  }
  return -1;
}

std::optional<int> TProcStatRegistry::TakeSnapshot() {
  // The first line is about 100 characters even with 20-digit counters in all ten fields.
  char buffer[512];
  const long n = ReadFromStart(buffer, sizeof buffer);
  TCpuTimes times;
  if (n <= 0 || !ParseCpuTimes(buffer, static_cast<std::size_t>(n), times)) return std::nullopt;
  return FMeter.Update(times);
}

TRegResult TProcStatRegistry::OpenKey(TRegKey parent, std::string_view subKey, TRegKey& result) {
  if (parent != HKEY_DYN_DATA) return (parent >= kStartSrv && parent <= kStatData) ? rrNotFound : rrInvalidHandle;
  if (SameTextAscii(subKey, "PerfStats\\StartSrv")) result = kStartSrv;
  else if (SameTextAscii(subKey, "PerfStats\\StartStat")) result = kStartStat;
  else if (SameTextAscii(subKey, "PerfStats\\StatData")) result = kStatData;
  else return rrNotFound;
  return rrSuccess;
}

TRegResult TProcStatRegistry::QueryValue(TRegKey key, std::string_view name, std::uint32_t* type, void* data,
                                         std::uint32_t* size) {
  std::optional<int> value;
  switch (key) {
    case kStartSrv:
      if (!SameTextAscii(name, "KERNEL")) return rrNotFound;
      value = 0;
      break;
    case kStartStat:
    case kStatData:
      if (!SameTextAscii(name, "KERNEL\\CPUUsage")) return rrNotFound;
      if (key == kStartStat) {
        value = 0;
      } else if (!data) {
        value = FPending = TakeSnapshot();
      } else {
        value = FPending ? FPending : TakeSnapshot();
        // Kept for a retry with a larger buffer; used up once the data is read.
        FPending = (!size || *size < 4) ? value : std::nullopt;
      }
      if (!value) return rrNotFound;
      break;
    default:
      return rrInvalidHandle;
  }
  if (type) *type = REG_BINARY;
  if (data) {
    if (!size || *size < 4) {
      if (size) *size = 4;
      return rrMoreData;
    }
    const auto v = static_cast<std::uint32_t>(*value);
    const unsigned char bytes[4] = {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8),
                                    static_cast<unsigned char>(v >> 16), static_cast<unsigned char>(v >> 24)};
    std::memcpy(data, bytes, 4);
  }
  if (size) *size = 4;
  return rrSuccess;
}

TRegResult TProcStatRegistry::CloseKey(TRegKey key) {
  return (key >= kStartSrv && key <= kStatData) ? rrSuccess : rrInvalidHandle;
}

}  // namespace varnel

