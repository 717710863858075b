// The picture dialogs' filter, converted for Qt's file dialogs.
#include <gtest/gtest.h>

#include "ui/form1.h"
#include "ui/qt_dialogs.h"
#include "ui_fixture.h"

namespace kelpra::test {
namespace {

TEST(QtDialogsTest, BarSeparatedFilterBecomesQtNameFilters) {
  const struct {
    const char* filter;
    QStringList expected;
  } cases[] = {
      {"Text files (*.txt)|*.txt", {"Text files (*.txt)"}},
      {"Two (*.a;*.b)|*.a;*.b|Any|*.*", {"Two (*.a *.b)", "Any (*.*)"}},
      {"Odd|", {"Odd ()"}},
      {"", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.filter);
    EXPECT_EQ(QtNameFilters(QString::fromUtf8(c.filter)), c.expected);
  }
  const QStringList picture = QtNameFilters(QString::fromUtf8(PictureFilter));
  ASSERT_EQ(picture.size(), 6);
  EXPECT_EQ(picture.first(),
            QStringLiteral("All Supported Images (*.gif *.jpg *.jpeg *.png *.bmp)"));
  EXPECT_EQ(picture.last(), QStringLiteral("Bitmap Images (*.bmp)"));
}

}  // namespace
}  // namespace kelpra::test
