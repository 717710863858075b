#include "core/page_composer.h"

#include <cmath>
#include <stdexcept>

#include "codecs/picture_loader.h"
#include "core/adjustment_pipeline.h"
#include "core/file_search.h"
#include "core/path_list.h"
#include "imaging/geometry.h"

namespace kelpra {

namespace {

// The gap between the two pages of a spread while "Splitter" is on.
constexpr int Split = 3;

bool IsPortrait(const TBitmap& bmp) {
  return bmp.Width() < bmp.Height();
}

void LoadPage(const QString& path, TBitmap& bmp) {
  LoadFile(NativePath(path), bmp);
  bmp.SetPixelFormat(pf24bit);
}

// SetImage: the finished picture goes to the image control, fitted to the client area with
// "Stretch" on, at its own size otherwise.
void SetImage(const PageRequest& request, TBitmap&& picture, PageResult& result) {
  if (request.options.stretch) {
    result.imageWidth = request.clientWidth;
    result.imageHeight = request.clientHeight;
    ResizePic(picture, request.clientWidth, request.clientHeight, request.effects.resizeFilter);
  } else {
    result.imageWidth = picture.Width();
    result.imageHeight = picture.Height();
  }
  result.picture = std::move(picture);
}

// The current page alone (step "single page" and the fallback of a spread), already turned.
void ShowAlone(const PageRequest& request, TBitmap& bmpR, PageResult& result) {
  PictureEffect(bmpR, request.effects);
  SetImage(request, std::move(bmpR), result);
  result.twoPics = false;
}

// Loads the page after the current one and shows both as a spread when both are portrait after
// turning; else the current page alone.
void ComposeSpread(const PageRequest& request, TBitmap& bmpR, const QString& fNameR,
                   PageResult& result) {
  const PathList& files = *request.files;
  result.ndxL = request.ndxR + 1 < files.Count() ? request.ndxR + 1 : 0;
  result.ndxLUpdated = true;
  const QString fNameL = ExtractFileName(files[result.ndxL]);
  TBitmap bmpL;
  LoadPage(files[result.ndxL], bmpL);
  PictureRotate(bmpR, request.effects.direction);
  PictureRotate(bmpL, request.effects.direction);
  if (!IsPortrait(bmpL) || !IsPortrait(bmpR)) {
    ShowAlone(request, bmpR, result);
    return;
  }
  const int gap = request.options.splitter ? Split : 0;
  // The joined picture is adjusted and fitted once, frame and gap included.
  if (!request.options.swapLR) {
    SideBySide(bmpL, bmpR, clBtnShadow, gap);
    PictureEffect(bmpL, request.effects);
    SetImage(request, std::move(bmpL), result);
    result.caption = SpreadCaption(fNameL, fNameR, request.state);
  } else {
    SideBySide(bmpR, bmpL, clBtnShadow, gap);
    PictureEffect(bmpR, request.effects);
    SetImage(request, std::move(bmpR), result);
    result.caption = SpreadCaption(fNameR, fNameL, request.state);
  }
  result.twoPics = true;
}

}  // namespace

void HalfCut(TBitmap& bmp, int half, bool swapLR) {
  const int width = bmp.Width();
  const int height = bmp.Height();
  if (width <= height)
    return;
  const int halfWidth = int(std::nearbyint(width / 2.0));
  TRect source{0, 0, width, height};  // an unknown half: the whole picture, squeezed
  if ((half == 1 && !swapLR) || (half == 2 && swapLR)) {
    source.Left = halfWidth;
  } else if ((half == 1 && swapLR) || (half == 2 && !swapLR)) {
    source.Right = halfWidth;
  }
  // The stretching copy: an odd width's right half is one column wider than the target.
  TBitmap w(halfWidth, height);
  w.StretchCopy({0, 0, halfWidth, height}, bmp, source);
  bmp.Assign(w);
  bmp.SetPixelFormat(pf24bit);
}

void ComposePage(const PageRequest& request, PageResult& result) {
  result = PageResult();
  if (!request.files || request.ndxR < 0 || request.ndxR >= request.files->Count()) {
    throw std::out_of_range("The current page is not in the file list.");
  }
  const PathList& files = *request.files;
  const QString& entry = files[request.ndxR];
  TBitmap bmpR;
  LoadPage(entry, bmpR);
  result.dialogFileName = ExtractFileName(entry);
  result.dialogFolder = ExcludeTrailingDelimiter(ExtractFilePath(entry));
  result.dialogUpdated = true;

  // The caption gives the size as loaded, before any cut, turn or fit.
  const int bmpW = bmpR.Width();
  const int bmpH = bmpR.Height();
  const QString fNameR = ExtractFileName(entry);
  result.caption = SinglePageCaption(fNameR, bmpW, bmpH, request.state);
  const DisplayOptions& options = request.options;
  if (options.landscapeHalf && bmpW > bmpH) {
    HalfCut(bmpR, request.half, options.swapLR);
    PictureRotate(bmpR, request.effects.direction);
    ShowAlone(request, bmpR, result);
  } else if (files.Count() == 1 || request.clientWidth <= request.clientHeight ||
             options.singlePicture) {
    PictureRotate(bmpR, request.effects.direction);
    ShowAlone(request, bmpR, result);
  } else {
    ComposeSpread(request, bmpR, fNameR, result);
  }

  result.caption = WithPageCounter(result.caption, request.ndxR, files.Count());
  result.imageLeft = (request.clientWidth - result.imageWidth) / 2;
  result.imageTop = (request.clientHeight - result.imageHeight) / 2;
  result.done = true;
}

}  // namespace kelpra
