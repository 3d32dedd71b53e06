// Attach and detach of real processes, seen from outside through the region itself.
#include <gtest/gtest.h>

#include <algorithm>

#include "ChildProcess.h"
#include "MappedObject.h"
#include "TestNamespace.h"

namespace {

using halvane3::kRegionSize;

TEST(Lifetime, AttachCountFollowsTheAttachedProcesses) {
  TestNamespace names;
  ChildProcess first(helper({"wait"}));
  expectLines(first, {"waiting"});
  {
    MappedObject region(names.regionObjectName(), kRegionSize);
    ASSERT_TRUE(region.mapped());
    EXPECT_EQ(region.region().attachCount, 1);
    const char* bytes = static_cast<const char*>(region.address());
    EXPECT_TRUE(std::all_of(bytes + 2, bytes + kRegionSize, [](char byte) { return byte == 0; }));

    ChildProcess second(helper({"wait"}));
    expectLines(second, {"waiting"});
    EXPECT_EQ(region.region().attachCount, 2);
    EXPECT_EQ(second.finish(), 0);
    EXPECT_EQ(region.region().attachCount, 1);
  }
  EXPECT_EQ(first.finish(), 0);
  EXPECT_FALSE(names.globalObjectsExist()) << "gone with the last process";
}

}  // namespace
