// The commands that act on the current page's file: Delete, Save and WallPaper.
#include <QDir>

#include "codecs/bmp_writer.h"
#include "core/file_names.h"
#include "core/file_search.h"
#include "ui/dialogs.h"
#include "ui/form1.h"

namespace kelpra {

namespace {

// The wallpaper style code (ten times the style number plus the tile flag) for "fit, keeping
// the aspect ratio", the one WallPaper uses.
constexpr int WPS_ResizeFit = 60;

const QString TempName = QStringLiteral("_WallPaper.bmp");

// Re-arms the auto-turn timer when the command ends, also when an error ends it.
class RearmOnExit {
 public:
  explicit RearmOnExit(TForm1& form) : form_(form) {}
  ~RearmOnExit() { form_.RearmTimer(); }
  RearmOnExit(const RearmOnExit&) = delete;
  RearmOnExit& operator=(const RearmOnExit&) = delete;

 private:
  TForm1& form_;
};

// A pixel as 0x00BBGGRR; outside the picture the invalid colour, all bits set.
TColor PixelColor(const TBitmap& bmp, int x, int y) {
  if (x < 0 || y < 0 || x >= bmp.Width() || y >= bmp.Height())
    return clNone;
  const std::uint8_t* row = bmp.ScanLine(y);
  if (bmp.PixelFormat() == pf8bit) {
    const TRGBQuad& entry = bmp.Palette()[row[x]];
    return RGB(entry.rgbRed, entry.rgbGreen, entry.rgbBlue);
  }
  const std::uint8_t* p = row + 3 * x;
  return RGB(p[2], p[1], p[0]);
}

}  // namespace

void TForm1::Action24DeleteExecute() {
  if (FileList.Empty())
    return;
  RearmOnExit rearm(*this);
  const QString PIC = FileList[ndxR];
  if (!IsExistingFile(PIC))
    return;
  const QString name = DisplayName(ExtractFileName(PIC));
  if (!dialogs_.ConfirmYesNo(QStringLiteral("削除していいですね？ : ") + name))
    return;
  if (!RemoveFile(PIC)) {
    dialogs_.ConfirmOk(QStringLiteral("削除できませんでした : ") + name);
    return;
  }
  // The entry of the file that was asked about, even if pages turned behind the question.
  const int index = FileList.IndexOf(PIC);
  if (index >= 0) {
    FileList.RemoveAt(index);
    if (index < ndxR)
      --ndxR;
    if (ndxR >= FileList.Count())
      ndxR = FileList.Count() - 1;
  }
  Half = 1;
  ReadFiles();
}

void TForm1::Action29SaveExecute() {
  if (FileList.Empty())
    return;
  RearmOnExit rearm(*this);
  const QString PIC = FileList[ndxR];
  if (!IsExistingFile(PIC))
    return;
  const std::optional<QString> target =
      dialogs_.SavePicture(ExcludeTrailingDelimiter(ExtractFilePath(PIC)), ExtractFileName(PIC),
                           QString::fromUtf8(PictureFilter), QStringLiteral(".jpg"));
  if (target)
    SaveBmp(DisplayedPicture(), NativePath(*target));
}

void TForm1::Action31WallPaperExecute() {
  QDir().mkdir(INIPath);  // an existing folder is fine; a failure shows in the write below
  const QString wallpaper = INIPath + TempName;
  SaveBmp(DisplayedPicture(), NativePath(wallpaper));
  ChangeWallpaperStyle(WPS_ResizeFit, 0, 0);
  ChangeBackground(GetAverageColor());
  services_.wallpaper.SetWallpaper(wallpaper);
}

bool TForm1::ChangeWallpaperStyle(int WallPaperStyle, int nX, int nY) {
  return services_.wallpaper.ChangeWallpaperStyle(WallPaperStyle, nX, nY);
}

TColor TForm1::GetAverageColor() {
  const TBitmap& bmp = DisplayedPicture();
  const int W = bmp.Width();
  const int H = bmp.Height();
  const int corners[4][2] = {{0, 0}, {W - 2, 0}, {0, H - 2}, {W - 2, H - 2}};
  int red = 0, green = 0, blue = 0;
  for (const auto& corner : corners) {
    for (int dy = 0; dy < 2; ++dy) {
      for (int dx = 0; dx < 2; ++dx) {
        const TColor c = PixelColor(bmp, corner[0] + dx, corner[1] + dy);
        red += GetRValue(c);
        green += GetGValue(c);
        blue += GetBValue(c);
      }
    }
  }
  return RGB(std::uint8_t(red / 16), std::uint8_t(green / 16), std::uint8_t(blue / 16));
}

bool TForm1::ChangeBackground(TColor BGColor) {
  return services_.wallpaper.ChangeBackground(ColorToRGB(BGColor));
}

}  // namespace kelpra
