// The "Picture" dialog: its controls, the live settings, Preview, Reset, Cancel and closing.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTimer>

#include "core/file_search.h"
#include "ui_fixture.h"

namespace kelpra::test {
namespace {

class EffectsDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    viewer.Show(QSize(300, 400));
    viewer.SetOption(&TForm1::PM_T, false);  // pictures at their own size: exact bytes
    viewer.Open(viewer.WritePage("p.png", 30, 40));
    original = form1().DisplayedPicture();
  }
  TForm1& form1() { return viewer.form1(); }
  TForm2& dialog() { return viewer.form2(); }

  ViewerFixture viewer;
  TBitmap original;
};

TEST_F(EffectsDialogTest, ControlsArePlacedAndConfigured) {
  TForm2& d = dialog();
  EXPECT_EQ(d.windowTitle(), QStringLiteral("Picture"));
  EXPECT_EQ(d.size(), QSize(214, 352));
  EXPECT_EQ(d.font().family(), QStringLiteral("Tahoma"));
  EXPECT_EQ(d.font().pixelSize(), 11);
  const struct {
    QSlider* slider;
    int top, min, max, page, tick;
  } sliders[] = {{d.TrackBarContrast, 35, -100, 100, 20, 5},
                 {d.TrackBarBrightness, 90, -100, 100, 20, 5},
                 {d.TrackBarSharpness, 145, -30, 70, 10, 2}};
  for (const auto& s : sliders) {
    SCOPED_TRACE(s.slider->objectName().toStdString());
    EXPECT_EQ(s.slider->geometry(), QRect(8, s.top, 198, 30));
    EXPECT_EQ(s.slider->minimum(), s.min);
    EXPECT_EQ(s.slider->maximum(), s.max);
    EXPECT_EQ(s.slider->pageStep(), s.page);
    EXPECT_EQ(s.slider->tickInterval(), s.tick);
    EXPECT_EQ(s.slider->orientation(), Qt::Horizontal);
  }
  const struct {
    QWidget* widget;
    QRect geometry;
    const char* text;
  } others[] = {
      {d.CheckBoxMonochrome, {17, 181, 97, 17}, "Monochrome"},
      {d.ComboBoxResize, {65, 213, 131, 21}, "Bilinear"},
      {d.ButtonReset, {17, 268, 75, 25}, "Reset"},
      {d.ButtonPreview, {121, 268, 75, 25}, "Preview"},
      {d.ButtonCancel, {17, 310, 75, 25}, "Cancel"},
      {d.ButtonApply, {121, 310, 75, 25}, "Apply"},
  };
  for (const auto& o : others) {
    SCOPED_TRACE(o.text);
    EXPECT_EQ(o.widget->geometry(), o.geometry);
    const QVariant text = o.widget->property(o.widget == d.ComboBoxResize ? "currentText" : "text");
    EXPECT_EQ(text.toString(), QString::fromLatin1(o.text));
  }
  const QStringList filters = {"Nearest",  "Bilinear", "Bicubic", "BSpline", "Hermite",
                               "Mitchell", "Bell",     "Lanczos", "Lagrange"};
  ASSERT_EQ(d.ComboBoxResize->count(), filters.size());
  for (int i = 0; i < filters.size(); ++i)
    EXPECT_EQ(d.ComboBoxResize->itemText(i), filters[i]);
  EXPECT_FALSE(d.ComboBoxResize->isEditable());
  for (QLabel* label : {d.LabelContrastValue, d.LabelBrightnessValue, d.LabelSharpnessValue})
    EXPECT_TRUE(label->alignment() & Qt::AlignRight);
  EXPECT_TRUE(d.ButtonApply->isDefault());

  // Tab order: the nine controls that take the focus, in their order.
  const QList<QWidget*> expected = {d.TrackBarContrast,   d.TrackBarBrightness, d.TrackBarSharpness,
                                    d.CheckBoxMonochrome, d.ComboBoxResize,     d.ButtonReset,
                                    d.ButtonPreview,      d.ButtonCancel,       d.ButtonApply};
  QList<QWidget*> chain;
  QWidget* w = d.TrackBarContrast;
  do {
    if (expected.contains(w) && !chain.contains(w))
      chain << w;
    w = w->nextInFocusChain();
  } while (w != d.TrackBarContrast);
  EXPECT_EQ(chain, expected);
}

TEST_F(EffectsDialogTest, EffectsAreTheLiveControlValues) {
  TForm2& d = dialog();
  d.TrackBarContrast->setValue(-40);
  d.TrackBarBrightness->setValue(25);
  d.TrackBarSharpness->setValue(-12);
  d.CheckBoxMonochrome->setChecked(true);
  d.ComboBoxResize->setCurrentIndex(7);
  d.Direction = QStringLiteral("LEFT");
  const EffectSettings e = d.Effects();
  EXPECT_EQ(e.contrast, -40);
  EXPECT_EQ(e.brightness, 25);
  EXPECT_EQ(e.sharpness, -12);
  EXPECT_TRUE(e.monochrome);
  EXPECT_EQ(e.resizeFilter, QStringLiteral("Lanczos"));
  EXPECT_EQ(e.direction, QStringLiteral("LEFT"));
  EXPECT_EQ(d.LabelContrastValue->text(), QStringLiteral("-40"));
  EXPECT_EQ(d.LabelBrightnessValue->text(), QStringLiteral("25"));
  EXPECT_EQ(d.LabelSharpnessValue->text(), QStringLiteral("-12"));
  d.ComboBoxResize->setCurrentIndex(-1);
  EXPECT_EQ(d.Effects().resizeFilter, QString());
}

TEST_F(EffectsDialogTest, PreviewShowsTheChangeAndCancelTakesItBack) {
  TForm2& d = dialog();
  d.show();
  d.TrackBarSharpness->setValue(-12);
  EXPECT_EQ(BitmapDiff(original, form1().DisplayedPicture()), "") << "no Preview, no change";
  d.ButtonPreview->click();
  EXPECT_TRUE(d.isVisible());
  EXPECT_NE(BitmapDiff(original, form1().DisplayedPicture()), "") << "softened";
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

  d.ButtonCancel->click();
  EXPECT_FALSE(d.isVisible());
  EXPECT_EQ(d.TrackBarSharpness->value(), 0);
  EXPECT_EQ(d.LabelSharpnessValue->text(), QStringLiteral("0"));
  form1().ReadFiles();  // as the effects command does after the dialog
  EXPECT_EQ(BitmapDiff(original, form1().DisplayedPicture()), "");
}

TEST_F(EffectsDialogTest, PreviewOfAnUnreadablePageReportsItAndRestoresThePointer) {
  WriteBytes({'x'}, NativePath(form1().FileList[0]));
  dialog().show();
  dialog().ButtonPreview->click();
  EXPECT_EQ(viewer.dialogs.MessagesOf("ShowError").size(), 1u);
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
  EXPECT_TRUE(dialog().isVisible());
  EXPECT_EQ(BitmapDiff(original, form1().DisplayedPicture()), "");
  dialog().ButtonApply->click();
}

TEST_F(EffectsDialogTest, ResetIsNotFinalUntilApply) {
  TForm2& d = dialog();
  d.TrackBarContrast->setValue(20);
  d.TrackBarBrightness->setValue(-30);
  d.TrackBarSharpness->setValue(8);
  d.CheckBoxMonochrome->setChecked(true);
  d.ComboBoxResize->setCurrentIndex(0);
  d.Direction = QStringLiteral("DOWN");
  form1().ReadFiles();
  const TBitmap adjusted = form1().DisplayedPicture();
  d.show();

  d.ButtonReset->click();
  EXPECT_EQ(d.TrackBarContrast->value(), 0);
  EXPECT_EQ(d.TrackBarBrightness->value(), 0);
  EXPECT_EQ(d.TrackBarSharpness->value(), 0);
  for (QLabel* label : {d.LabelContrastValue, d.LabelBrightnessValue, d.LabelSharpnessValue})
    EXPECT_EQ(label->text(), QStringLiteral("0"));
  EXPECT_FALSE(d.CheckBoxMonochrome->isChecked());
  EXPECT_EQ(d.ComboBoxResize->currentText(), QStringLiteral("Bilinear"));
  EXPECT_EQ(d.Direction, QStringLiteral("DOWN")) << "Reset leaves the orientation";
  EXPECT_NE(BitmapDiff(adjusted, form1().DisplayedPicture()), "") << "re-rendered";

  d.Direction = QStringLiteral("RIGHT");  // a rotation while the dialog is open
  QTest::keyClick(&d, Qt::Key_Escape);    // Escape is Cancel
  EXPECT_FALSE(d.isVisible());
  EXPECT_EQ(d.TrackBarContrast->value(), 20);
  EXPECT_EQ(d.LabelContrastValue->text(), QStringLiteral("20"));
  EXPECT_EQ(d.TrackBarBrightness->value(), -30);
  EXPECT_EQ(d.TrackBarSharpness->value(), 8);
  EXPECT_TRUE(d.CheckBoxMonochrome->isChecked());
  EXPECT_EQ(d.ComboBoxResize->currentIndex(), 0);
  EXPECT_EQ(d.Direction, QStringLiteral("DOWN"));
  form1().ReadFiles();
  EXPECT_EQ(BitmapDiff(adjusted, form1().DisplayedPicture()), "");
}

// Enter presses the focused button, and Apply while no button has the focus: a keyboard user
// who tabs to Cancel cancels.
TEST_F(EffectsDialogTest, EnterPressesTheFocusedButton) {
  TForm2& d = dialog();
  const struct {
    const char* name;
    QWidget* focus;
    bool open;  // the dialog stays open
    int kept;   // the brightness afterwards
  } cases[] = {
      {"Apply", d.ButtonApply, false, 40},       {"Cancel", d.ButtonCancel, false, 0},
      {"Reset", d.ButtonReset, true, 0},         {"Preview", d.ButtonPreview, true, 40},
      {"slider", d.TrackBarContrast, false, 40}, {"check box", d.CheckBoxMonochrome, false, 40},
      {"list", d.ComboBoxResize, false, 40},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    d.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
    d.TrackBarBrightness->setValue(40);
    c.focus->setFocus();
    QTest::keyClick(c.focus, Qt::Key_Return);
    EXPECT_EQ(d.isVisible(), c.open);
    EXPECT_EQ(d.TrackBarBrightness->value(), c.kept);
    d.ButtonCancel->click();
    d.TrackBarBrightness->setValue(0);
  }
}

TEST_F(EffectsDialogTest, ApplyAndTheCloseBoxKeepTheChanges) {
  for (const bool closeBox : {false, true}) {
    TForm2& d = dialog();
    d.show();
    d.TrackBarBrightness->setValue(closeBox ? 30 : 40);
    d.Direction = closeBox ? QStringLiteral("LEFT") : QStringLiteral("RIGHT");
    if (closeBox)
      d.close();
    else
      d.ButtonApply->click();
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(d.TrackBarBrightness->value(), closeBox ? 30 : 40);
    EXPECT_EQ(d.Direction, closeBox ? QStringLiteral("LEFT") : QStringLiteral("RIGHT"));
  }
}

TEST_F(EffectsDialogTest, DoubleClickingALabelResetsItsControl) {
  TForm2& d = dialog();
  d.show();
  const struct {
    QLabel* label;
    QSlider* slider;
    QLabel* value;
  } rows[] = {{d.LabelContrast, d.TrackBarContrast, d.LabelContrastValue},
              {d.LabelBrightness, d.TrackBarBrightness, d.LabelBrightnessValue},
              {d.LabelSharpness, d.TrackBarSharpness, d.LabelSharpnessValue}};
  for (const auto& r : rows) {
    SCOPED_TRACE(r.label->text().toStdString());
    r.slider->setValue(-20);
    QTest::mouseDClick(r.label, Qt::LeftButton);
    EXPECT_EQ(r.slider->value(), 0);
    EXPECT_EQ(r.value->text(), QStringLiteral("0"));
    QTest::mouseDClick(r.label, Qt::LeftButton);  // already 0: nothing moves
    EXPECT_EQ(r.value->text(), QStringLiteral("0"));
  }
  d.ComboBoxResize->setCurrentIndex(5);
  QTest::mouseDClick(d.Label1, Qt::LeftButton);
  EXPECT_EQ(d.ComboBoxResize->currentIndex(), 1);
  EXPECT_EQ(BitmapDiff(original, form1().DisplayedPicture()), "") << "nothing re-rendered";
  d.ButtonApply->click();
}

TEST_F(EffectsDialogTest, ClosingRearmsTheMainWindowsTimer) {
  for (const bool autoTurn : {true, false}) {
    form1().Action30AutoTurn->setChecked(autoTurn);
    form1().Timer1->stop();
    dialog().show();
    dialog().ButtonCancel->click();
    EXPECT_EQ(form1().Timer1->isActive(), autoTurn);
  }
}

}  // namespace
}  // namespace kelpra::test
