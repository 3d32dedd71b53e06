// The Qt picture surface: colours, lines without their last point, pointer, tooltip and
// device contexts, and the scales it draws at. The surface's tests also run at device
// pixel ratio 2.
#include <gtest/gtest.h>

#include <QWidget>

#include "config-editor/QtPaintSurface.h"

namespace ConfigEditor {
namespace {

namespace hc = Halvane_Config;

class SurfaceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    surface.Resize(QSize(340, 40));
    surface.SetBackColor(hc::kWhite);
    surface.Clear();
  }
  // The colour shown at a point in units.
  QColor At(double x, double y) const { return surface.ColourAt(surface.ToWidget({x, y})); }

  QWidget widget;
  QtPaintSurface surface{widget};
};

TEST_F(SurfaceTest, ColoursAreBgrValuesOrTheWidgetsPalette) {
  EXPECT_EQ(surface.ColourOf(hc::Rgb(10, 20, 30)), QColor(10, 20, 30));
  QPalette palette = widget.palette();
  palette.setColor(QPalette::Active, QPalette::Button, QColor(1, 2, 3));
  palette.setColor(QPalette::Active, QPalette::ButtonText, QColor(4, 5, 6));
  palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(7, 8, 9));
  widget.setPalette(palette);
  EXPECT_EQ(surface.ColourOf(hc::kSystemColourFlag | 0x0F), QColor(1, 2, 3));
  EXPECT_EQ(surface.ColourOf(hc::kSystemButtonText), QColor(4, 5, 6));
  EXPECT_EQ(surface.ColourOf(hc::kSystemGrayText), QColor(7, 8, 9));
  EXPECT_EQ(At(100, 20), QColor(Qt::white));  // the back colour Clear filled with
}

TEST_F(SurfaceTest, LinesLeaveOutTheirLastPoint) {
  surface.Line(30, 5, 318, 5, hc::kBlack);
  EXPECT_EQ(At(29, 5), QColor(Qt::white));
  EXPECT_EQ(At(30, 5), QColor(Qt::black));
  EXPECT_EQ(At(317, 5), QColor(Qt::black));
  EXPECT_EQ(At(318, 5), QColor(Qt::white));
  EXPECT_EQ(surface.CurrentX(), 318);

  // Drawn backwards, the same: the end is left out, now on the left.
  surface.Line(20, 30, 10, 30, hc::kBlack);
  EXPECT_EQ(At(10, 30), QColor(Qt::white));
  EXPECT_EQ(At(11, 30), QColor(Qt::black));
  EXPECT_EQ(At(20, 30), QColor(Qt::black));

  surface.Line(200, 10, 200, 20, hc::kBlack);
  EXPECT_EQ(At(200, 10), QColor(Qt::black));
  EXPECT_EQ(At(200, 19), QColor(Qt::black));
  EXPECT_EQ(At(200, 20), QColor(Qt::white));
}

TEST_F(SurfaceTest, FilledBoxCoversItsWidthAndHeight) {
  surface.FilledBox(50, 10, 4, 3, hc::Rgb(0, 255, 0));
  EXPECT_EQ(At(50, 10), QColor(0, 255, 0));
  EXPECT_EQ(At(53, 12), QColor(0, 255, 0));
  EXPECT_EQ(At(54, 12), QColor(Qt::white));
  EXPECT_EQ(At(53, 13), QColor(Qt::white));
}

TEST_F(SurfaceTest, AtEveryScaleTheUnitPointedAtIsTheUnitDrawnThere) {
  const double ratio = surface.Image().devicePixelRatio();
  for (const double scale : {1.0, 1.25, 1.75, 2.5, 3.0, 4.0}) {
    SCOPED_TRACE(scale);
    surface.SetScale(scale);
    EXPECT_EQ(widget.size(), (QSizeF(340, 40) * scale).toSize());
    // Every third unit column black: each unit's first and last pixel belong to it.
    for (int x = 0; x < 340; x += 3)
      surface.Line(x, 0, x, 40, hc::kBlack);
    for (int x = 0; x < 339; ++x) {
      const QPointF first = surface.ToWidget({double(x), 7});
      const QPointF last = surface.ToWidget({x + 1.0, 7}) - QPointF(1 / ratio, 0);
      ASSERT_EQ(surface.FromWidget(first), QPointF(x, 7)) << x;
      ASSERT_EQ(surface.FromWidget(last), QPointF(x, 7)) << x;
      const QColor expected = x % 3 == 0 ? QColor(Qt::black) : QColor(Qt::white);
      ASSERT_EQ(surface.ColourAt(first), expected) << x;
      ASSERT_EQ(surface.ColourAt(last), expected) << x;
    }
  }
}

TEST_F(SurfaceTest, PointerTooltipAndDeviceContext) {
  surface.SetMousePointer(hc::MousePointer::SizeWestEast);
  EXPECT_EQ(widget.cursor().shape(), Qt::SizeHorCursor);
  surface.SetMousePointer(hc::MousePointer::Default);
  EXPECT_EQ(widget.cursor().shape(), Qt::ArrowCursor);

  surface.SetToolTipText(u"Special day 3");
  EXPECT_EQ(widget.toolTip(), QStringLiteral("Special day 3"));
  EXPECT_EQ(surface.ToolTipText(), u"Special day 3");

  QWidget other;
  QtPaintSurface second(other);
  EXPECT_NE(second.DeviceContext(), surface.DeviceContext());
}

TEST_F(SurfaceTest, PrintMovesTheCurrentPointByTheTextsWidth) {
  surface.SetCurrentX(40);
  surface.SetCurrentY(10);
  surface.SetForeColor(hc::kBlack);
  const double width = surface.TextWidth(u"Mon");
  surface.Print(u"Mon");
  EXPECT_DOUBLE_EQ(surface.CurrentX(), 40 + width);
  bool inked = false;
  for (int x = 40; x < 40 + static_cast<int>(width); ++x)
    for (int y = 10; y < 10 + static_cast<int>(surface.TextHeight(u"Mon")); ++y)
      inked = inked || At(x, y) != QColor(Qt::white);
  EXPECT_TRUE(inked);
}

}  // namespace
}  // namespace ConfigEditor
