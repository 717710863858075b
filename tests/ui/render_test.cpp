#include <gtest/gtest.h>

#include "ui_fixture.h"

namespace kelpra::test {
namespace {

TEST(RenderTest, IdleWindowShowsTheVersionCaption) {
  ViewerFixture viewer;
  viewer.Show(QSize(400, 300));
  EXPECT_EQ(viewer.Caption(), QStringLiteral("[Kelpra]  ") + QString::fromUtf8(Version1));
  EXPECT_EQ(viewer.form1().ClientSize(), QSize(400, 300));
}

}  // namespace
}  // namespace kelpra::test
