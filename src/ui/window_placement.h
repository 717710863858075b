// Where windows go on the screen: the main window by its outer bounds (frame included, as the
// settings file stores them), the dialogs and the version box centred on the screen.
#pragma once

#include <QObject>
#include <QRect>

class QWidget;

namespace kelpra {

// False where a client cannot place its own windows (Wayland): positions are then skipped.
bool CanPlaceWindows();

// Places a top-level window so that its outer frame has given bounds. The frame a window
// manager adds is known only once the window is on the screen: the position is asked for as the
// frame's, so the manager puts the frame's corner there, and the size is corrected once, when the
// window is first exposed and its frame is known.
class OuterBoundsPlacement : public QObject {
 public:
  explicit OuterBoundsPlacement(QWidget& window);

  // Applies the bounds to the window in its normal state.
  void Apply(const QRect& outerBounds);
  // The window's outer bounds, to be stored. Where windows cannot be placed the position is
  // never known: the one last applied stands for it, so that the stored one survives.
  QRect OuterBounds() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Takes the frame, now known, off the requested size.
  void FitToFrame();

  QWidget& window_;
  QRect applied_;
  bool fitPending_ = false;
};

// Moves a window that is about to be shown so that its outer frame is centred on its screen. The
// frame's size is estimated from the frame of the window it belongs to, until it has its own.
void CentreOnScreen(QWidget& window);

}  // namespace kelpra
