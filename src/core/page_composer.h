// The rendering decision shared by the window and kelpra-render: idle canvas, one page, a half
// of a landscape scan or a spread, with the caption and page counter.
#pragma once

#include <QString>
#include <QStringList>
#include <exception>
#include <functional>
#include <vector>

#include "core/effect_settings.h"
#include "imaging/bitmap.h"

namespace kelpra {

class PathList;

struct DisplayOptions {
  bool singlePicture = false;
  bool swapLR = false;
  bool landscapeHalf = false;
  bool stretch = true;
  bool splitter = true;

  bool operator==(const DisplayOptions&) const = default;
};

struct PageRequest {
  const PathList* files = nullptr;  // not empty
  int ndxR = 0;
  int half = 1;
  DisplayOptions options;
  EffectSettings effects;
  int clientWidth = 0;
  int clientHeight = 0;
  QString state;  // the auto-turn caption suffix
};

// Filled step by step, so that after an error the caller still sees what was decided before it
// (the second page's index and the open dialog's file, set before the second page is loaded).
struct PageResult {
  bool dialogUpdated = false;
  QString dialogFileName;  // the current page's name without folder
  QString dialogFolder;    // its folder, without trailing delimiter
  bool ndxLUpdated = false;
  int ndxL = 0;

  bool done = false;   // everything below is valid only when done
  TBitmap picture;     // what the image control shows
  int imageWidth = 0;  // the image control's size: the client area with Stretch, else the picture's
  int imageHeight = 0;
  int imageLeft = 0;  // the image control centred in the client area; negative when larger
  int imageTop = 0;
  bool twoPics = false;
  int bmpW = 0;  // the current page's size as loaded, before any cut, turn or fit
  int bmpH = 0;
  QString caption;  // with the page counter
};

// A page as its loading left it: the picture, or the error that loading raised.
struct LoadedPage {
  TBitmap picture;
  std::exception_ptr error;
};

// Loads the pages named, all at once where it can. Each page keeps its own error, so that the
// composition raises it when it reaches that page, as loading one page after the other would.
using PageLoader = std::function<std::vector<LoadedPage>(const QStringList& paths)>;

// LoadFile, one page after the other.
std::vector<LoadedPage> LoadFromDisk(const QStringList& paths);

// Loads, cuts, rotates, joins, adjusts and fits; throws PictureError when a page cannot be read
// and std::out_of_range when ndxR is not an index of the list.
// The current page and, when a spread is sure to be considered, the page after it are asked for
// together.
void ComposePage(const PageRequest& request, PageResult& result,
                 const PageLoader& load = LoadFromDisk);

// ComposePage up to the fit to the client area: every decision is made and the picture is the
// one that is then fitted; done stays false. The client size decides only whether a spread is
// considered (PagesConsidered tells) and the fit, so the result serves any size that considers
// the same pages.
void ComposeBeforeFit(const PageRequest& request, PageResult& result,
                      const PageLoader& load = LoadFromDisk);
// Finishes a composition made before the fit (composed: its picture) for the request's size.
void FitComposition(const PageRequest& request, const TBitmap& composed, PageResult& result);

// The files a composition of the request may read: the current page and, when a spread can be
// considered, the page after it. Empty when ndxR is not an index of the list.
QStringList PagesConsidered(const PageRequest& request);

// The caption of a finished composition, with the page counter: made anew for every showing.
QString PageCaption(const PageRequest& request, const PageResult& result);

// HalfCut: replaces a landscape picture by one of its halves (half 1: the half read first).
void HalfCut(TBitmap& bmp, int half, bool swapLR);

// "[Kelpra] (name) W x H" + state.
QString SinglePageCaption(const QString& fileName, int width, int height, const QString& state);
// "[Kelpra] (left + right)" + state.
QString SpreadCaption(const QString& leftName, const QString& rightName, const QString& state);
// Pads with max(50 - length, 0) + 2 spaces and appends "index/count" (index 0-based).
QString WithPageCounter(const QString& caption, int ndxR, int count);

}  // namespace kelpra
