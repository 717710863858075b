// The rendering decision shared by the window and kelpra-render: idle canvas, one page, a half
// of a landscape scan or a spread, with the caption and page counter.
#pragma once

#include <QString>
#include <QStringList>

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
  QString caption;  // with the page counter
};

// Loads, cuts, rotates, joins, adjusts and fits; throws PictureError when a page cannot be read
// and std::out_of_range when ndxR is not an index of the list.
void ComposePage(const PageRequest& request, PageResult& result);

// HalfCut: replaces a landscape picture by one of its halves (half 1: the half read first).
void HalfCut(TBitmap& bmp, int half, bool swapLR);

// "[Kelpra] (name) W x H" + state.
QString SinglePageCaption(const QString& fileName, int width, int height, const QString& state);
// "[Kelpra] (left + right)" + state.
QString SpreadCaption(const QString& leftName, const QString& rightName, const QString& state);
// Pads with max(50 - length, 0) + 2 spaces and appends "index/count" (index 0-based).
QString WithPageCounter(const QString& caption, int ndxR, int count);

}  // namespace kelpra
