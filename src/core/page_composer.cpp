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

// The page's picture, or the error its loading raised.
TBitmap Take(LoadedPage& page) {
  if (page.error)
    std::rethrow_exception(page.error);
  page.picture.SetPixelFormat(pf24bit);
  return std::move(page.picture);
}

// The index of the page that a spread pairs with the current one: the last pairs with the first.
int SecondPageIndex(const PageRequest& request) {
  return request.ndxR + 1 < request.files->Count() ? request.ndxR + 1 : 0;
}

bool SpreadConsidered(const PageRequest& request) {
  return request.files->Count() > 1 && request.clientWidth > request.clientHeight &&
         !request.options.singlePicture;
}

// SetImage, up to the fit: the finished picture goes to the image control.
void SetImage(TBitmap&& picture, PageResult& result) {
  result.picture = std::move(picture);
}

// The image control's size and place and the caption, once the picture is fitted: the client
// area with "Stretch" on, else the picture's own size.
void Finish(const PageRequest& request, PageResult& result) {
  if (request.options.stretch) {
    result.imageWidth = request.clientWidth;
    result.imageHeight = request.clientHeight;
  } else {
    result.imageWidth = result.picture.Width();
    result.imageHeight = result.picture.Height();
  }
  result.caption = PageCaption(request, result);
  result.imageLeft = (request.clientWidth - result.imageWidth) / 2;
  result.imageTop = (request.clientHeight - result.imageHeight) / 2;
  result.done = true;
}

// The current page alone (step "single page" and the fallback of a spread), already turned.
void ShowAlone(const PageRequest& request, TBitmap& bmpR, PageResult& result) {
  PictureEffect(bmpR, request.effects);
  SetImage(std::move(bmpR), result);
  result.twoPics = false;
}

// Shows the current page and the page after it (loadedL, or loaded now when null) as a spread
// when both are portrait after turning; else the current page alone.
void ComposeSpread(const PageRequest& request, TBitmap& bmpR, LoadedPage* loadedL,
                   const PageLoader& load, PageResult& result) {
  result.ndxL = SecondPageIndex(request);
  result.ndxLUpdated = true;
  TBitmap bmpL;
  if (loadedL) {
    bmpL = Take(*loadedL);
  } else {
    std::vector<LoadedPage> pages = load({(*request.files)[result.ndxL]});
    bmpL = Take(pages.front());
  }
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
    SetImage(std::move(bmpL), result);
  } else {
    SideBySide(bmpR, bmpL, clBtnShadow, gap);
    PictureEffect(bmpR, request.effects);
    SetImage(std::move(bmpR), result);
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

std::vector<LoadedPage> LoadFromDisk(const QStringList& paths) {
  std::vector<LoadedPage> pages(std::size_t(paths.size()));
  for (qsizetype i = 0; i < paths.size(); ++i) {
    try {
      LoadFile(NativePath(paths[i]), pages[std::size_t(i)].picture);
    } catch (...) {
      pages[std::size_t(i)].error = std::current_exception();
    }
  }
  return pages;
}

void ComposeBeforeFit(const PageRequest& request, PageResult& result, const PageLoader& load) {
  result = PageResult();
  if (!request.files || request.ndxR < 0 || request.ndxR >= request.files->Count()) {
    throw std::out_of_range("The current page is not in the file list.");
  }
  const PathList& files = *request.files;
  const DisplayOptions& options = request.options;
  const QString& entry = files[request.ndxR];
  const bool spreadConsidered = SpreadConsidered(request);
  // Whether a landscape half is shown instead is known only once the current page is loaded.
  const bool spreadCertain = spreadConsidered && !options.landscapeHalf;
  QStringList paths{entry};
  if (spreadCertain)
    paths.append(files[SecondPageIndex(request)]);
  std::vector<LoadedPage> pages = load(paths);
  TBitmap bmpR = Take(pages.front());
  result.dialogFileName = ExtractFileName(entry);
  result.dialogFolder = ExcludeTrailingDelimiter(ExtractFilePath(entry));
  result.dialogUpdated = true;

  result.bmpW = bmpR.Width();
  result.bmpH = bmpR.Height();
  if (options.landscapeHalf && result.bmpW > result.bmpH) {
    HalfCut(bmpR, request.half, options.swapLR);
    PictureRotate(bmpR, request.effects.direction);
    ShowAlone(request, bmpR, result);
  } else if (!spreadConsidered) {
    PictureRotate(bmpR, request.effects.direction);
    ShowAlone(request, bmpR, result);
  } else {
    ComposeSpread(request, bmpR, spreadCertain ? &pages[1] : nullptr, load, result);
  }
}

void FitComposition(const PageRequest& request, const TBitmap& composed, PageResult& result) {
  result.picture = request.options.stretch
                       ? FittedPic(composed, request.clientWidth, request.clientHeight,
                                   request.effects.resizeFilter)
                       : composed;
  Finish(request, result);
}

void ComposePage(const PageRequest& request, PageResult& result, const PageLoader& load) {
  ComposeBeforeFit(request, result, load);
  if (request.options.stretch) {
    ResizePic(result.picture, request.clientWidth, request.clientHeight,
              request.effects.resizeFilter);
  }
  Finish(request, result);
}

QStringList PagesConsidered(const PageRequest& request) {
  if (!request.files || request.ndxR < 0 || request.ndxR >= request.files->Count())
    return {};
  QStringList paths{(*request.files)[request.ndxR]};
  if (SpreadConsidered(request))
    paths.append((*request.files)[SecondPageIndex(request)]);
  return paths;
}

QString PageCaption(const PageRequest& request, const PageResult& result) {
  const PathList& files = *request.files;
  const QString fNameR = ExtractFileName(files[request.ndxR]);
  QString caption;
  if (!result.twoPics) {
    caption = SinglePageCaption(fNameR, result.bmpW, result.bmpH, request.state);
  } else {
    const QString fNameL = ExtractFileName(files[result.ndxL]);
    caption = request.options.swapLR ? SpreadCaption(fNameR, fNameL, request.state)
                                     : SpreadCaption(fNameL, fNameR, request.state);
  }
  return WithPageCounter(caption, request.ndxR, files.Count());
}

}  // namespace kelpra
