#include "report/expr_format.h"

#include <gtest/gtest.h>

#include <limits>

#include "platform/cp932.h"

using platform::J;

TEST(ExprFormat, MoneyAndTheOtherFloatDirectives) {
  struct Case {
    std::string format;
    double value;
    std::string text;
  } cases[] = {
      {"%m", 1234567.5, J("￥1,234,568")},
      {"%m", -1234.5, J("-￥1,235")},
      {"%m", -0.4, J("￥0")},
      {"%m", 0, J("￥0")},
      {"%.2m", 1234.5, J("￥1,234.50")},
      {"Total %m.", 42, J("Total ￥42.")},
      {"%12m|", 1234, J("     ￥1,234|")},
      {"%-8m|", 5, J("￥5     |")},
      {"%f", 2.5, "2.50"},
      {"%.0f", 2.5, "3"},
      {"%n", 1234567.891, "1,234,567.89"},
      {"%M %%", 7, J("￥7 %")},
      {J("%m円"), 3, J("￥3円")},
  };
  for (const Case& c : cases) {
    const std::optional<std::string> text = rpt::FormatWithValue(c.format, c.value);
    ASSERT_TRUE(text.has_value()) << c.format;
    EXPECT_EQ(*text, c.text) << c.format;
  }
  for (const char* bad : {"%m %m", "%d", "%s", "%", "%5", "%.m", "%m %x"})
    EXPECT_FALSE(rpt::FormatWithValue(bad, 1).has_value()) << bad;
  EXPECT_FALSE(rpt::FormatWithValue("%m", std::numeric_limits<double>::infinity()).has_value());
  EXPECT_EQ(rpt::FormatWithValue("%999999999m", 1)->size(), 255u);
}
