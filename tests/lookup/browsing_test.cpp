#include "lookup/browsing.hpp"

#include <gtest/gtest.h>

#include "tests/support/form_fixture.hpp"

namespace vembrel {
namespace {

using Ops = std::vector<std::string>;

class BrowsingTest : public testing::FormTest {
 protected:
  void SetUp() override {
    writeDictionary("cy.mdb", {"一a~1", "一b~2", "一c~3", "只有~4"});
    writeDictionary("zd.mdb", {"~一 yī", "[yī] 数目"});
  }
  static Ops entry(int number, const std::string& word, const std::string& definition) {
    return {"Stop",
            "Play gestureright",
            "Think 第 " + std::to_string(number) + "条：",
            "Play gestureright",
            "Think " + word,
            "Play gestureright",
            "Think " + definition};
  }
};

TEST_F(BrowsingTest, StepsWithinTheResultWithoutWrapping) {
  run("mcy", "一");
  EXPECT_EQ(run("ms"), entry(1, "一 a ", "1 "));  // at the first entry: announced again
  EXPECT_EQ(run("mx"), entry(2, "一 b ", "2 "));
  EXPECT_EQ(run("mx"), entry(3, "一 c ", "3 "));
  EXPECT_EQ(run("mx"), entry(3, "一 c ", "3 "));  // at the last entry: announced again
  EXPECT_EQ(current_index(), 2);
  EXPECT_EQ(run("ms"), entry(2, "一 b ", "2 "));
}

TEST_F(BrowsingTest, DoNothingWithoutTwoRows) {
  const struct {
    const char* item;
    const char* typed;
  } results[] = {{"mcy", "只有"}, {"mcy", "没有"}, {"mcy", ""}, {"mxh", "一"}};
  for (const auto& r : results) {
    run(r.item, r.typed);
    form.lookup_state().current_index = 0;
    EXPECT_EQ(run("mx"), Ops{}) << r.item << " " << r.typed;
    EXPECT_EQ(run("ms"), Ops{}) << r.item << " " << r.typed;
    EXPECT_EQ(current_index(), 0);
  }
}

}  // namespace
}  // namespace vembrel
