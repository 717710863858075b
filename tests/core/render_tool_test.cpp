// kelpra-render run as a program: exit codes, written pictures and the printed caption.
#include <gtest/gtest.h>

#include <QProcess>
#include <QStringList>

#include "codecs/picture_loader.h"
#include "core/page_composer.h"
#include "core/path_list.h"
#include "imaging/geometry.h"
#include "imaging/resample.h"
#include "support/test_pictures.h"

namespace kelpra {
namespace {

namespace fs = std::filesystem;
using test::BitmapDiff;
using test::MakePicture;

struct ToolRun {
  int exitCode = -1;
  QString out;
  QString err;
};

ToolRun RenderTool(const QStringList& args) {
#ifndef KELPRA_RENDER_PATH
  ADD_FAILURE() << "built without the path of kelpra-render";
  return {};
#else
  QProcess process;
  process.start(QStringLiteral(KELPRA_RENDER_PATH), args);
  EXPECT_TRUE(process.waitForFinished(60000));
  return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
          QString::fromUtf8(process.readAllStandardOutput()),
          QString::fromUtf8(process.readAllStandardError())};
#endif
}

QString Q(const fs::path& path) {
  return QString::fromStdString(path.string());
}

TBitmap Load(const fs::path& file) {
  TBitmap bmp;
  LoadFile(file, bmp);
  return bmp;
}

class RenderToolTest : public testing::Test {
 protected:
  void SetUp() override {
    test::WritePng(picture_, dir_ / "in.png");
    test::WritePng(MakePicture(4, 6, 2), dir_ / "right.png");
  }
  QStringList Op(const QStringList& operation) {
    return QStringList{"op", Q(dir_ / "in.png"), Q(out())} + operation;
  }
  fs::path out() const { return dir_ / "out.bmp"; }

  test::TempDir dir_;
  TBitmap picture_ = MakePicture(5, 3);
};

TEST_F(RenderToolTest, OperationsWriteTheLibraryResult) {
  TBitmap cw = picture_;
  Rotate90(cw, true);
  TBitmap resized = picture_;
  BmpResize(resized, 11, 4, rmLanczos);
  TBitmap joined = picture_;
  SideBySide(joined, MakePicture(4, 6, 2), 0x00336699, 2);
  const struct {
    QStringList operation;
    const TBitmap& expected;
  } cases[] = {{{"rotate90", "cw"}, cw},
               {{"resize", "11", "4", "Lanczos"}, resized},
               {{"sidebyside", Q(dir_ / "right.png"), "0x336699", "2"}, joined}};
  for (const auto& test : cases) {
    fs::remove(out());
    const ToolRun run = RenderTool(Op(test.operation));
    SCOPED_TRACE(test.operation.join(u' ').toStdString());
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(BitmapDiff(test.expected, Load(out())), "");
  }
}

TEST_F(RenderToolTest, EveryOperationRuns) {
  const QStringList operations[] = {{"rotate90", "ccw"},   {"rotate180"},      {"gray"},
                                    {"brightness", "-20"}, {"contrast", "35"}, {"sharpen", "50"},
                                    {"soften", "40"},      {"blur", "2"}};
  for (const QStringList& operation : operations) {
    const ToolRun run = RenderTool(Op(operation));
    EXPECT_EQ(run.exitCode, 0) << operation.join(u' ').toStdString() << run.err.toStdString();
  }
}

TEST_F(RenderToolTest, RefusedOperationWritesNothing) {
  for (const QStringList& operation :
       {QStringList{"resize", "0", "5", "Bilinear"},
        QStringList{"sidebyside", Q(dir_ / "right.png"), "0x0", "-1"}}) {
    fs::remove(out());
    const ToolRun run = RenderTool(Op(operation));
    EXPECT_EQ(run.exitCode, 3) << operation.join(u' ').toStdString();
    EXPECT_FALSE(run.err.isEmpty());
    EXPECT_FALSE(fs::exists(out()));
  }
}

TEST_F(RenderToolTest, BadArgumentsAndUnreadableFiles) {
  test::WriteBytes({'x', 'y', 'z'}, dir_ / "broken.jpg");
  const QStringList cases[] = {
      {},
      {"draw"},
      Op({}),
      Op({"rotate90"}),
      Op({"rotate90", "up"}),
      Op({"brightness", "ten"}),
      Op({"brightness", "10", "extra"}),
      Op({"resize", "4", "4", "lanczos"}),
      Op({"sidebyside", Q(dir_ / "right.png"), "336699", "2"}),
      Op({"twirl"}),
      {"op", Q(dir_ / "missing.png"), Q(out()), "gray"},
      {"op", Q(dir_ / "broken.jpg"), Q(out()), "gray"},
      {"page", Q(dir_ / "in.png"), Q(out())},
      {"page", "--size", "0x10", Q(dir_ / "in.png"), Q(out())},
      {"page", "--size", "10x", Q(dir_ / "in.png"), Q(out())},
      {"page", "--size", "40x30", "--index", "2", Q(dir_ / "in.png"), Q(out())},
      {"page", "--size", "40x30", "--contrast", "101", Q(dir_ / "in.png"), Q(out())},
      {"page", "--size", "40x30", "--direction", "up", Q(dir_ / "in.png"), Q(out())},
      {"page", "--size", "40x30", "--frobnicate", Q(dir_ / "in.png"), Q(out())},
      {"page", "--size", "40x30", Q(dir_ / "gone" / "a.png"), Q(out())},
      {"page", "--size", "40x30", Q(dir_ / "in.png")},
  };
  for (const QStringList& args : cases) {
    fs::remove(out());
    const ToolRun run = RenderTool(args);
    EXPECT_EQ(run.exitCode, 2) << args.join(u' ').toStdString();
    EXPECT_FALSE(run.err.isEmpty()) << args.join(u' ').toStdString();
    EXPECT_FALSE(fs::exists(out())) << args.join(u' ').toStdString();
  }
}

// The page command renders with the window's own code: the same picture and caption.
TEST_F(RenderToolTest, PageMatchesTheWindowsRendering) {
  test::TempDir book;
  test::WritePng(MakePicture(20, 30, 1), book / "p2.png");
  test::WritePng(MakePicture(22, 31, 2), book / "p10.png");
  PathList files;
  for (const char* name : {"p2.png", "p10.png"})
    files.Add(Q(book / name));
  const struct {
    QStringList args;
    QString source;
    int ndxR;
    bool subfolders;
  } cases[] = {
      {{}, Q(book / "p2.png"), 0, false},
      {{"--swap", "--no-splitter", "--mono", "--contrast", "20"}, Q(book / "p2.png"), 0, false},
      {{"--index", "1", "--filter", "Lanczos", "--sharpness", "-5"}, Q(book / "p2.png"), 1, false},
      {{"--single", "--no-stretch", "--direction", "LEFT"}, Q(book / "p10.png"), 1, false},
  };
  for (const auto& test : cases) {
    PageRequest request;
    request.files = &files;
    request.ndxR = test.ndxR;
    request.clientWidth = 300;
    request.clientHeight = 200;
    const QStringList& a = test.args;
    request.options.swapLR = a.contains("--swap");
    request.options.splitter = !a.contains("--no-splitter");
    request.options.singlePicture = a.contains("--single");
    request.options.stretch = !a.contains("--no-stretch");
    request.effects.monochrome = a.contains("--mono");
    request.effects.contrast = a.contains("--contrast") ? 20 : 0;
    request.effects.sharpness = a.contains("--sharpness") ? -5 : 0;
    if (a.contains("--filter"))
      request.effects.resizeFilter = "Lanczos";
    if (a.contains("--direction"))
      request.effects.direction = "LEFT";
    PageResult expected;
    ComposePage(request, expected);

    const ToolRun run = RenderTool(QStringList{"page", "--size", "300x200"} + a +
                                   QStringList{test.source, Q(out())});
    SCOPED_TRACE(a.join(u' ').toStdString());
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, expected.caption + "\n");
    TBitmap written = Load(out());
    TBitmap picture = expected.picture;
    picture.SetPixelFormat(pf24bit);  // the loader gives 24-bit
    EXPECT_EQ(BitmapDiff(picture, written), "");
  }
}

TEST_F(RenderToolTest, PageOfAFolderListsItsSubfolders) {
  test::TempDir book;
  test::WritePng(MakePicture(20, 30, 1), book / "b.png");
  fs::create_directory(book / "a");
  test::WritePng(MakePicture(20, 30, 2), book / "a" / "c.png");
  const ToolRun run = RenderTool({"page", "--size", "300x400", Q(book.path()), Q(out())});
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
  EXPECT_TRUE(run.out.startsWith("[Kelpra] (c.png) 20 x 30  ")) << run.out.toStdString();
  EXPECT_TRUE(run.out.endsWith(" 1/2\n")) << run.out.toStdString();
}

}  // namespace
}  // namespace kelpra
