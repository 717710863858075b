// Handlers not written yet. Whoever implements one moves it into its topic file.
#include "ui/form1.h"
#include "ui/image_control.h"

namespace kelpra {

const TBitmap& TForm1::DisplayedPicture() const {
  return Image1->Picture();
}

}  // namespace kelpra
