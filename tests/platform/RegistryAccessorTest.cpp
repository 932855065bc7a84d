// The registry accessor and the in-memory registry: the current key's life, relative opens,
// and the sizes a value read is given and reports.
#include <gtest/gtest.h>

#include "base/Exceptions.h"
#include "platform/registry/MemoryRegistry.h"
#include "platform/registry/RegistryAccessor.h"

namespace varnel {
namespace {

TEST(RegistryAccessor, KeepsOneCurrentKeyAndClosesIt) {
  TMemoryRegistry reg;
  reg.SetBinary("A\\B", "v", {1});
  reg.AddKey("C");
  {
    TRegistryAccessor acc(reg);
    acc.SetRootKey(HKEY_DYN_DATA);
    EXPECT_FALSE(acc.GetDataInfo("v"));
    EXPECT_TRUE(acc.OpenKey("\\A"));
    EXPECT_TRUE(acc.OpenKey("b"));  // below the current key
    EXPECT_EQ(reg.OpenHandleCount(), 1);
    const TRegKey b = acc.CurrentKey();
    EXPECT_FALSE(acc.OpenKey("\\Missing"));
    EXPECT_EQ(acc.CurrentKey(), b);  // a failed open changes nothing
    ASSERT_TRUE(acc.GetDataInfo("V"));
    EXPECT_EQ(acc.GetDataInfo("V")->Size, 1u);
    EXPECT_TRUE(acc.OpenKey("\\C"));
    EXPECT_EQ(reg.OpenHandleCount(), 1);
    acc.SetRootKey(0x80000002);  // another root closes the key
    EXPECT_EQ(reg.OpenHandleCount(), 0);
    acc.SetRootKey(HKEY_DYN_DATA);
    EXPECT_TRUE(acc.OpenKey("\\C"));
  }
  EXPECT_EQ(reg.OpenHandleCount(), 0);
}

TEST(RegistryAccessor, BinaryReadsAskForExactlyTheValueSize) {
  TMemoryRegistry reg;
  reg.SetBinary("K", "three", {1, 2, 3});
  reg.SetBinary("K", "five", {1, 2, 3, 4, 5});
  reg.SetDword("K", "dword", 9);
  TRegistryAccessor acc(reg);
  acc.SetRootKey(HKEY_DYN_DATA);
  ASSERT_TRUE(acc.OpenKey("\\K"));
  std::uint8_t buf[5] = {9, 9, 9, 9, 9};
  EXPECT_EQ(acc.ReadBinaryData("three", buf, 4), 3u);
  EXPECT_EQ(buf[2], 3);
  EXPECT_EQ(buf[3], 9);  // untouched
  EXPECT_EQ(acc.ReadBinaryData("missing", buf, 4), std::nullopt);
  EXPECT_THROW(acc.ReadBinaryData("five", buf, 4), ERegistryException);
  EXPECT_EQ(acc.ReadBinaryData("five", buf, 5), 5u);
  EXPECT_THROW(acc.ReadBinaryData("dword", buf, 4), ERegistryException);

  // The provider side: too small a buffer reports the size needed and copies nothing.
  std::uint32_t type = 0, size = 2;
  buf[0] = 0;
  EXPECT_EQ(reg.QueryValue(acc.CurrentKey(), "three", &type, buf, &size), rrMoreData);
  EXPECT_EQ(size, 3u);
  EXPECT_EQ(buf[0], 0);
  EXPECT_EQ(reg.QueryValue(12345, "three", &type, nullptr, &size), rrInvalidHandle);
  EXPECT_EQ(reg.CloseKey(12345), rrInvalidHandle);
}

}  // namespace
}  // namespace varnel
