// ReadFiles: the window's one rendering, the idle canvas and the centring of the picture.
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QScreen>
#include <cmath>

#include "core/read_ahead.h"
#include "ui/form1.h"
#include "ui/form2.h"
#include "ui/image_control.h"

namespace kelpra {

DisplayOptions TForm1::CurrentDisplayOptions() const {
  DisplayOptions options;
  options.singlePicture = PM_S->isChecked();
  options.swapLR = PM_W->isChecked();
  options.landscapeHalf = PM_H->isChecked();
  options.stretch = PM_T->isChecked();
  options.splitter = PM_L->isChecked();
  return options;
}

EffectSettings TForm1::CurrentEffects() const {
  return form2_ ? form2_->Effects() : EffectSettings();
}

void TForm1::ReadFiles() {
  if (IsClosing)
    return;
  renderedClientSize_ = ClientSize();
  if (FileList.Empty()) {
    readAhead_->ComposeAhead({}, {});
    DrawIdleCanvas();
    return;
  }
  PageRequest request;
  request.files = &FileList;
  request.ndxR = ndxR;
  request.half = Half;
  request.options = CurrentDisplayOptions();
  request.effects = CurrentEffects();
  request.clientWidth = ClientSize().width();
  request.clientHeight = ClientSize().height();
  request.state = State;

  PageResult result;
  // What the composition decided before an error is kept; the picture and caption are not.
  const auto keepDecisions = [this, &result] {
    if (result.ndxLUpdated)
      ndxL = result.ndxL;
    if (result.dialogUpdated) {
      openDialogFileName_ = result.dialogFileName;
      openDialogFolder_ = result.dialogFolder;
    }
  };
  try {
    if (std::optional<PageResult> composed = readAhead_->TakeComposed(request)) {
      result = std::move(*composed);
    } else {
      readAhead_->ComposeNow(request, result);
    }
  } catch (...) {
    keepDecisions();
    throw;
  }
  keepDecisions();
  Image1->SetBounds(
      QRect(Image1->Bounds().topLeft(), QSize(result.imageWidth, result.imageHeight)));
  Image1->SetPicture(std::move(result.picture));
  setWindowTitle(result.caption);
  TwoPics = result.twoPics;
  CenterImage();
  ComposeAheadFrom(request);
}

void TForm1::ComposeAheadFrom(const PageRequest& shown) {
  const TurnOptions turn = CurrentTurnOptions();
  const PagePosition at{ndxR, Half};
  const int count = FileList.Count();
  QStringList keep = PagesConsidered(shown);
  std::vector<PageRequest> ahead;
  // Whether a half step comes next is known only from the current page's size.
  const std::optional<bool> landscape =
      turn.landscapeHalf ? readAhead_->KnownLandscape(FileList[ndxR]) : false;
  if (landscape) {
    for (const std::optional<PagePosition>& to :
         {NextPosition(count, at, TwoPics, *landscape, turn),
          PreviousPosition(count, at, *landscape, turn)}) {
      if (!to || *to == at)
        continue;
      PageRequest request = shown;
      request.ndxR = to->ndxR;
      request.half = to->half;
      keep += PagesConsidered(request);
      ahead.push_back(request);
    }
  }
  readAhead_->ComposeAhead(ahead, keep);
}

void TForm1::CenterImage() {
  const QSize client = ClientSize();
  const QSize image = Image1->Bounds().size();
  // div truncates toward zero; a picture larger than the window gets negative offsets.
  Image1->MoveTo(
      QPoint((client.width() - image.width()) / 2, (client.height() - image.height()) / 2));
}

void TForm1::DrawIdleCanvas() {
  const QSize client = ClientSize();
  const int w = client.width();
  const int h = client.height();
  Image1->ClearPicture();
  Image1->SetBounds(QRect(0, 0, w, h));
  TBitmap canvas(w, h);
  canvas.BrushColor = windowColor_;
  canvas.FillRect({0, 0, w, h});
  if (!canvas.Empty()) {
    QImage surface(canvas.ScanLine(0), w, h, qsizetype(canvas.Stride()), QImage::Format_BGR888);
    // Points are measured at the screen's real resolution: the canvas has device pixels, so the
    // logical resolution is scaled by the device pixel ratio.
    if (const QScreen* screen = this->screen()) {
      const qreal dotsPerInch = screen->logicalDotsPerInch() * devicePixelRatioF();
      const int dotsPerMeter = int(std::lround(dotsPerInch / 0.0254));
      surface.setDotsPerMeterX(dotsPerMeter);
      surface.setDotsPerMeterY(dotsPerMeter);
    }
    QPainter painter(&surface);
    QFont font = painter.font();
    font.setPointSize(24);
    painter.setFont(font);
    const QFontMetrics metrics = painter.fontMetrics();
    const QString title = QString::fromUtf8(Title);
    const int x = int(std::nearbyint((w - metrics.horizontalAdvance(title)) / 2.0));
    const int y = int(std::nearbyint((h - metrics.height()) / 2.0));
    painter.drawText(x, y + metrics.ascent(), title);
  }
  Image1->SetPicture(std::move(canvas));
}

const TBitmap& TForm1::DisplayedPicture() const {
  return Image1->Picture();
}

}  // namespace kelpra
