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

TProcStatRegistry::TProcStatRegistry(std::string statPath) : FStatPath(std::move(statPath)), FBuffer(kStartStatBytes) {
  TakeSnapshot();
}

TProcStatRegistry::~TProcStatRegistry() { CloseFile(); }

void TProcStatRegistry::CloseFile() {
  if (FFile >= 0) ::close(FFile);
  FFile = -1;
}

long TProcStatRegistry::ReadFromStart(char* buffer, unsigned long size) {
  // The kept descriptor, and one more try on a fresh one when it fails to read, or when it reads
  // what it read last time and its file has lost its name: a file deleted, or replaced by a
  // rename (the way a writer publishes a whole new file), keeps its old counters for ever. The
  // first line (the total's counters) tells whether the counters moved.
  for (int tries = FFile >= 0 ? 2 : 1; tries > 0; --tries) {
    if (FFile < 0) {
      FFile = ::open(FStatPath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
      if (FFile < 0) return -1;
    }
    ssize_t n;
    do n = ::pread(FFile, buffer, size, 0);  // a /proc file is made anew by a read from its start
    while (n < 0 && errno == EINTR);
    if (n > 0) {
      const std::size_t head = std::min(static_cast<std::size_t>(n), FLast.size());
      const bool same = head == FLastSize && std::memcmp(buffer, FLast.data(), head) == 0;
      struct stat st;
      if (!same || tries == 1 || (::fstat(FFile, &st) == 0 && st.st_nlink > 0)) {
        FLastSize = head;
        std::memcpy(FLast.data(), buffer, FLastSize);
        return n;
      }
    }
    CloseFile();
  }
  return -1;
}

std::optional<int> TProcStatRegistry::TakeSnapshot() {
  // The buffer holds every "cpu" line: a read that fills it while those lines go on is made again
  // with twice the room, up to kMaxStatBytes (past that the cores further on are not read).
  long n;
  for (;;) {
    n = ReadFromStart(FBuffer.data(), FBuffer.size());
    if (n < static_cast<long>(FBuffer.size()) || FBuffer.size() >= kMaxStatBytes) break;
    bool coresEnd = false;  // a line after the first that is not a "cpu" line has begun
    for (const char* p = FBuffer.data(); !coresEnd;) {
      p = static_cast<const char*>(std::memchr(p, '\n', FBuffer.data() + n - p));
      if (!p || ++p + 3 > FBuffer.data() + n) break;
      coresEnd = std::memcmp(p, "cpu", 3) != 0;
    }
    if (coresEnd) break;
    FBuffer.resize(std::min(FBuffer.size() * 2, kMaxStatBytes));
  }
  TCpuTimes times;
  if (n <= 0 || !ParseCpuTimes(FBuffer.data(), static_cast<std::size_t>(n), times)) {
    FBufferRead = 0;
    FCores.MarkAllAway();
    return std::nullopt;
  }
  FBufferRead = n;
  FBufferComplete = n < static_cast<long>(FBuffer.size());
  if (FCoresWanted) FCores.Update(FBuffer.data(), static_cast<std::size_t>(n), FBufferComplete);
  return FMeter.Update(times);
}

void TProcStatRegistry::SetCoresWanted(bool wanted) {
  if (wanted == FCoresWanted) return;
  FCoresWanted = wanted;
  // Away while not read; back, each core a new start from the last snapshot's line.
  FCores.MarkAllAway();
  if (wanted && FBufferRead > 0) FCores.Update(FBuffer.data(), static_cast<std::size_t>(FBufferRead), FBufferComplete);
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

