// Several processes, each with several threads, pushing and reading one command queue at
// once for a bounded time.
#include <gtest/gtest.h>

#include <cstdio>

#include "ChildProcess.h"
#include "TestNamespace.h"

namespace {

constexpr const char* kQueue = "1";
constexpr const char* kThreads = "2";
constexpr const char* kMilliseconds = "1500";

TEST(Stress, ProcessesAndThreadsKeepEntriesWholeAndInOrder) {
  TestNamespace names;
  ChildProcess reader1(helper({"stress-read", kQueue, kThreads, kMilliseconds}));
  ChildProcess reader2(helper({"stress-read", kQueue, kThreads, kMilliseconds}));
  ChildProcess writer1(helper({"stress-write", kQueue, "w1", kThreads, kMilliseconds}));
  ChildProcess writer2(helper({"stress-write", kQueue, "w2", kThreads, kMilliseconds}));

  for (ChildProcess* writer : {&writer1, &writer2}) {
    unsigned long long written = 0;
    EXPECT_EQ(std::sscanf(writer->readLine().c_str(), "written %llu", &written), 1);
    EXPECT_GT(written, 0u);
    EXPECT_EQ(writer->finish(), 0);
  }
  for (ChildProcess* reader : {&reader1, &reader2}) {
    const std::string line = reader->readLine();
    unsigned long long read = 0, torn = 1, disorder = 1;
    EXPECT_EQ(
        std::sscanf(line.c_str(), "read %llu torn %llu disorder %llu", &read, &torn, &disorder), 3)
        << line;
    EXPECT_GT(read, 0u);
    EXPECT_EQ(torn, 0u);
    EXPECT_EQ(disorder, 0u);
    EXPECT_EQ(reader->finish(), 0);
  }
}

}  // namespace
