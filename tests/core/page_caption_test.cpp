#include <gtest/gtest.h>

#include "core/page_composer.h"

namespace kelpra {
namespace {

TEST(PageCaption, TheWindowCaptions) {
  EXPECT_EQ(SinglePageCaption("p001.jpg", 1200, 1700, ""), "[Kelpra] (p001.jpg) 1200 x 1700");
  EXPECT_EQ(SinglePageCaption("a.png", 5, 7, "  Auto(3s)"), "[Kelpra] (a.png) 5 x 7  Auto(3s)");
  EXPECT_EQ(SpreadCaption("b.jpg", "a.jpg", ""), "[Kelpra] (b.jpg + a.jpg)");
  EXPECT_EQ(SpreadCaption("b.jpg", "a.jpg", "  Auto(10s)"), "[Kelpra] (b.jpg + a.jpg)  Auto(10s)");
}

TEST(PageCaption, CounterPadsToFiftyCharacters) {
  const struct {
    QString caption;
    int spaces;
  } cases[] = {
      {"[Kelpra] (p001.jpg) 1200 x 1700", 21},  // 31 characters
      {QString(49, u'x'), 3},
      {QString(50, u'x'), 2},
      {QString(80, u'x'), 2},
      {"", 52},
      // UTF-16 code units: a character outside the BMP counts twice.
      {QString::fromUtf8("[Kelpra] (\xE3\x83\x9A\xE3\x83\xBC\xE3\x82\xB8.jpg)"), 34},  // 18
      {QString::fromUtf8("\xF0\x9F\x93\x96"), 50},  // one emoji, two code units
  };
  for (const auto& test : cases) {
    EXPECT_EQ(WithPageCounter(test.caption, 0, 20),
              test.caption + QString(test.spaces, u' ') + "1/20")
        << test.caption.toStdString();
  }
  EXPECT_TRUE(WithPageCounter("x", 9, 10).endsWith(u" 10/10"));
}

}  // namespace
}  // namespace kelpra
