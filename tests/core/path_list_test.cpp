#include "core/path_list.h"

#include <gtest/gtest.h>

#include <QStringList>
#include <algorithm>

namespace kelpra {
namespace {

PathList ListOf(const QStringList& paths) {
  PathList list;
  for (const QString& path : paths)
    list.Add(path);
  return list;
}

struct OrderCase {
  const char* name;
  QStringList added;
  QStringList expected;
};

class PathListOrder : public testing::TestWithParam<OrderCase> {};

// Every insertion order gives the same list.
TEST_P(PathListOrder, SortsWhateverTheInsertionOrder) {
  QStringList added = GetParam().added;
  std::sort(added.begin(), added.end());
  do {
    EXPECT_EQ(ListOf(added).Paths(), GetParam().expected) << added.join(u' ').toStdString();
  } while (std::next_permutation(added.begin(), added.end()));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PathListOrder,
    testing::Values(
        OrderCase{"IgnoringCase",
                  {"/d/b.PNG", "/d/a.jpg", "/d/C.bmp"},
                  {"/d/a.jpg", "/d/b.PNG", "/d/C.bmp"}},
        OrderCase{"DigitsByValue",
                  {"/d/p10.jpg", "/d/p2.jpg", "/d/p1.jpg"},
                  {"/d/p1.jpg", "/d/p2.jpg", "/d/p10.jpg"}},
        // The collation finds these equal; both stay, in the order of their exact text.
        OrderCase{"NumericTwinsBothKept",
                  {"/d/p1.jpg", "/d/p01.jpg", "/d/p2.jpg"},
                  {"/d/p01.jpg", "/d/p1.jpg", "/d/p2.jpg"}},
        OrderCase{"CaseTwinsBothKept",
                  {"/d/a.jpg", "/d/A.jpg", "/d/b.jpg"},
                  {"/d/A.jpg", "/d/a.jpg", "/d/b.jpg"}},
        // Whole paths compare: a subfolder's files sit among its parent's by their text.
        OrderCase{"SubfolderAmongFiles",
                  {"/d/z.jpg", "/d/m/b.jpg", "/d/a.jpg"},
                  {"/d/a.jpg", "/d/m/b.jpg", "/d/z.jpg"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PathList, IdenticalPathAddedOnce) {
  PathList list = ListOf({"/d/a.jpg", "/d/a.jpg", "/d/b.jpg"});
  EXPECT_EQ(list.Count(), 2);
}

TEST(PathList, IndexOfPrefersTheExactPath) {
  const PathList list = ListOf({"/d/A.jpg", "/d/a.jpg", "/d/p01.jpg", "/d/p1.jpg"});
  const struct {
    const char* path;
    int index;
  } cases[] = {
      {"/d/A.jpg", 0},   {"/d/a.jpg", 1},
      {"/d/p01.jpg", 2}, {"/d/p1.jpg", 3},
      {"/d/P1.JPG", 3},                        // no exact entry: the one equal but for case
      {"/d/P01.jpg", 2}, {"/d/p001.jpg", -1},  // equal by collation only: not the same file
      {"/d/b.jpg", -1},  {"", -1},
  };
  for (const auto& c : cases)
    EXPECT_EQ(list.IndexOf(c.path), c.index) << c.path;
}

TEST(PathList, IndexOfInEmptyList) {
  EXPECT_EQ(PathList().IndexOf("/d/a.jpg"), -1);
}

TEST(PathList, CopiesAreIndependent) {
  PathList list = ListOf({"/d/a.jpg"});
  PathList copy = list;
  copy.Add("/d/b.jpg");
  list.RemoveAt(0);
  EXPECT_TRUE(list.Empty());
  EXPECT_EQ(copy.Paths(), QStringList({"/d/a.jpg", "/d/b.jpg"}));
}

}  // namespace
}  // namespace kelpra
