// ReadSample over an in-memory registry: the three reads in order, silent misses, the errors
// with their value names, short and long values, and every opened key closed on every path.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "base/Exceptions.h"
#include "platform/registry/MemoryRegistry.h"
#include "platform/registry/ProcStatRegistry.h"
#include "sampler/ReadSample.h"
#include "tests/support/TestSupport.h"

namespace varnel {
namespace {

const std::string kSrv = "PerfStats\\StartSrv", kStat = "PerfStats\\StartStat", kData = "PerfStats\\StatData";
const std::string kKernel = "KERNEL", kCpu = "KERNEL\\CPUUsage";

// The statistics as a system that has them publishes them.
void Publish(TMemoryRegistry& reg, std::vector<std::uint8_t> sample) {
  reg.SetBinary(kSrv, kKernel, {1, 0, 0, 0});
  reg.SetBinary(kStat, kCpu, {2, 0, 0, 0});
  reg.SetBinary(kData, kCpu, std::move(sample));
}

std::string ErrorOf(TRegistryProvider& reg) {
  try {
    ReadSample(reg);
  } catch (const ERegistryException& e) {
    return e.Message();
  }
  return "";
}

TEST(ReadSample, ReadsTheThreeValuesInOrderAndClosesEveryKey) {
  TMemoryRegistry reg;
  Publish(reg, {37, 0, 0, 0});
  EXPECT_EQ(ReadSample(reg), 37);
  EXPECT_TRUE(reg.OpenLog().empty() && reg.QueryLog().empty());  // the log is off until asked for
  reg.SetLogging(true);
  EXPECT_EQ(ReadSample(reg), 37);
  EXPECT_EQ(reg.OpenLog(), (std::vector<std::string>{"|PerfStats\\StartSrv", "|PerfStats\\StartStat",
                                                     "|PerfStats\\StatData"}));
  EXPECT_EQ(reg.QueryLog(),
            (std::vector<std::string>{"perfstats\\startsrv|KERNEL", "perfstats\\startsrv|KERNEL+data",
                                      "perfstats\\startstat|KERNEL\\CPUUsage", "perfstats\\startstat|KERNEL\\CPUUsage+data",
                                      "perfstats\\statdata|KERNEL\\CPUUsage", "perfstats\\statdata|KERNEL\\CPUUsage+data"}));
  EXPECT_EQ(reg.OpenHandleCount(), 0);
}

TEST(ReadSample, TheSampleIsTakenAsASigned32BitNumberUnchecked) {
  TMemoryRegistry reg;
  Publish(reg, {0xFF, 0xFF, 0xFF, 0xFF});
  EXPECT_EQ(ReadSample(reg), -1);
  Publish(reg, {0x10, 0x27, 0, 0});
  EXPECT_EQ(ReadSample(reg), 10000);
  // Shorter values fill only their own bytes; the scratch data never reaches the sample.
  reg.SetBinary(kSrv, kKernel, {0xAA, 0xBB, 0xCC, 0xDD});
  reg.SetBinary(kData, kCpu, {0x25, 0x01});
  EXPECT_EQ(ReadSample(reg), 0x125);
  reg.SetBinary(kData, kCpu, {0x25});
  EXPECT_EQ(ReadSample(reg), 0x25);
  reg.SetBinary(kData, kCpu, {});
  EXPECT_EQ(ReadSample(reg), std::nullopt);
}

TEST(ReadSample, MissingKeysAndValuesAreSilent) {
  TMemoryRegistry empty;
  empty.SetLogging(true);
  EXPECT_EQ(ReadSample(empty), std::nullopt);
  EXPECT_EQ(empty.QueryLog().size(), 0u);  // no key ever opened: nothing to ask

  // Without StartStat the second read looks in the StartSrv key, which lacks the value.
  TMemoryRegistry reg;
  reg.SetLogging(true);
  reg.SetBinary(kSrv, kKernel, {1, 0, 0, 0});
  reg.SetBinary(kData, kCpu, {42, 0, 0, 0});
  EXPECT_EQ(ReadSample(reg), 42);
  EXPECT_EQ(reg.QueryLog()[2], "perfstats\\startsrv|KERNEL\\CPUUsage");
  EXPECT_EQ(reg.OpenHandleCount(), 0);

  // Without StatData the third read also looks in the previous key, and takes what it finds.
  TMemoryRegistry noData;
  noData.SetLogging(true);
  Publish(noData, {1, 0, 0, 0});
  noData.DeleteKey(kData);
  EXPECT_EQ(ReadSample(noData), 2);
  EXPECT_EQ(noData.QueryLog().back(), "perfstats\\startstat|KERNEL\\CPUUsage+data");
  noData.AddKey(kData);  // the key without the value: no sample
  EXPECT_EQ(ReadSample(noData), std::nullopt);
  EXPECT_EQ(noData.OpenHandleCount(), 0);
}

TEST(ReadSample, WrongTypesAndLongValuesRaiseWithTheValueName) {
  TMemoryRegistry reg;
  reg.SetLogging(true);
  Publish(reg, {5, 0, 0, 0});
  reg.SetDword(kSrv, kKernel, 7);
  EXPECT_EQ(ErrorOf(reg), "Invalid data type for 'KERNEL'");
  EXPECT_EQ(reg.OpenHandleCount(), 0);
  EXPECT_EQ(reg.QueryLog().size(), 1u);  // nothing after the failing read

  Publish(reg, {5, 0, 0, 0});
  reg.SetString(kStat, kCpu, "5");
  EXPECT_EQ(ErrorOf(reg), "Invalid data type for 'KERNEL\\CPUUsage'");

  Publish(reg, {5, 0, 0, 0, 0, 0, 0, 0});
  EXPECT_EQ(ErrorOf(reg), "Invalid data type for 'KERNEL\\CPUUsage'");
  EXPECT_EQ(reg.OpenHandleCount(), 0);
}

// A registry whose values vanish between the size query and the read of their data.
class TFlakyRegistry : public TMemoryRegistry {
 public:
  TRegResult QueryValue(TRegKey key, std::string_view name, std::uint32_t* type, void* data,
                        std::uint32_t* size) override {
    if (data && name == FFailing) return rrNotFound;
    return TMemoryRegistry::QueryValue(key, name, type, data, size);
  }
  std::string FFailing;
};

TEST(ReadSample, AValueThatCannotBeReadRaisesAndTheKeyIsClosed) {
  TFlakyRegistry reg;
  Publish(reg, {5, 0, 0, 0});
  reg.FFailing = kKernel;
  EXPECT_EQ(ErrorOf(reg), "Failed to get data for 'KERNEL'");
  EXPECT_EQ(reg.OpenHandleCount(), 0);
  reg.FFailing = kCpu;
  EXPECT_EQ(ErrorOf(reg), "Failed to get data for 'KERNEL\\CPUUsage'");
  EXPECT_EQ(reg.OpenHandleCount(), 0);
}

TEST(ReadSample, OverTheLinuxProviderWithFixtureStatistics) {
  std::string dir = testing::TempDir() + "/varnel-sample-XXXXXX";
  ASSERT_NE(mkdtemp(dir.data()), nullptr);
  const std::string stat = dir + "/stat";
  auto use = [&](const char* name) {
    std::filesystem::copy_file(test::SourcePath(std::string("tests/data/procstat/") + name), stat,
                               std::filesystem::copy_options::overwrite_existing);
  };
  use("full_a.txt");
  TProcStatRegistry dyn(stat);
  use("full_b.txt");
  EXPECT_EQ(ReadSample(dyn), 50);
  use("full_c.txt");
  EXPECT_EQ(ReadSample(dyn), 100);
  use("empty.txt");
  EXPECT_EQ(ReadSample(dyn), std::nullopt);
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace varnel
