#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <vector>

#include "harvest/HarvestEngine.h"
#include "support/HarvestFixtures.h"
#include "support/SlowReader.h"
#include "support/TempDir.h"

namespace pictarix {
namespace {

using namespace std::chrono_literals;

// A tree of `count` icon files named 00.ico, 01.ico ...
std::filesystem::path MakeTree(const testing::TempDir& dir, int count) {
  const std::filesystem::path tree = dir.Path() / "tree";
  std::filesystem::create_directory(tree);
  for (int i = 0; i < count; ++i) {
    const std::string name = (i < 10 ? "0" : "") + std::to_string(i) + ".ico";
    testing::WriteIconFile(tree / name, {{32, 4}});
  }
  return tree;
}

// Three readers; the file named `slow` takes `delay` (or until the run stops).
EngineOptions SlowOn(std::string slow, std::chrono::milliseconds delay) {
  EngineOptions options;
  options.Readers = 3;
  options.Reader = testing::SlowReader(std::move(slow), delay);
  return options;
}

TEST(HarvestEngineTest, ResultsComeInWalkOrderWhileASlowFileIsReadAndTheReadAheadIsBounded) {
  testing::TempDir dir;
  HarvestEngine engine({{MakeTree(dir, 40), true}}, SlowOn("/02.ico", 300ms));
  std::vector<std::string> order;
  while (!engine.Ended()) {
    if (auto read = engine.Next(50ms)) {
      EXPECT_EQ(read->Findings.size(), 1u);
      order.push_back(std::filesystem::path(read->Path).filename().string());
    }
  }
  ASSERT_EQ(order.size(), 40u);
  for (std::size_t i = 1; i < order.size(); ++i) EXPECT_LT(order[i - 1], order[i]);
}

TEST(HarvestEngineTest, NothingWaitsForASlowFileAndStopEndsTheRunAtOnce) {
  testing::TempDir dir;
  const std::filesystem::path tree = MakeTree(dir, 5);
  std::optional<HarvestEngine> engine;
  engine.emplace(std::vector<HarvestRoot>{{tree, true}}, SlowOn("/01.ico", 5000ms));
  ASSERT_TRUE(engine->Next(2000ms));  // 00.ico
  const auto asked = std::chrono::steady_clock::now();
  EXPECT_FALSE(engine->Next(20ms));  // waits no longer than asked
  EXPECT_LT(std::chrono::steady_clock::now() - asked, 1000ms);
  engine->Stop();
  EXPECT_TRUE(engine->Ended());
  EXPECT_FALSE(engine->Next(0ms));
  engine.reset();  // joins the walk and the readers, the slow one included
  EXPECT_LT(std::chrono::steady_clock::now() - asked, 1000ms);
}

TEST(HarvestEngineTest, ANameThatCannotBeLookedAtIsReportedUncounted) {
  testing::TempDir dir;
  HarvestEngine engine({{dir.Path() / "missing" / "x.ico", false}}, {});
  std::optional<FileRead> read;
  while (!read && !engine.Ended()) read = engine.Next(50ms);
  ASSERT_TRUE(read);
  EXPECT_FALSE(read->Counted);
  ASSERT_EQ(read->Findings.size(), 1u);
  EXPECT_FALSE(read->Findings[0].Problem.empty());
}

}  // namespace
}  // namespace pictarix
