// TChartTitle: the title and foot blocks' properties, their drawing and the room they take.
#include "chart/ChartTitle.h"

#include <algorithm>

#include "chart/AxisPanel.h"
#include "platform/canvas/Canvas.h"

namespace varnel {

TChartTitle::TChartTitle(TCustomAxisPanel* chart) : TChartFontObject(chart) {
  Font().SetColor(clBlue);
  FFrame.OnChange = [this] { Repaint(); };
  FBrush.OnChange = [this] { Repaint(); };
}

bool TChartTitle::IsFontStored() const {
  TFont blue = DefaultChartFont();
  blue.SetColor(clBlue);
  const TFont& f = Font();
  return !(f.Name() == blue.Name() && f.Size() == blue.Size() && f.Color() == clBlue && f.Style() == 0);
}

void TChartTitle::SetAlignment(TAlignment v) {
  FAlignment = v;
  Repaint();
}

void TChartTitle::SetText(const std::vector<std::string>& lines) {
  FText = lines;
  Repaint();
}

void TChartTitle::SetVisible(bool v) {
  if (FVisible == v) return;
  FVisible = v;
  Repaint();
}

void TChartTitle::SetAdjustFrame(bool v) {
  if (FAdjustFrame == v) return;
  FAdjustFrame = v;
  Repaint();
}

void TChartTitle::Assign(const TChartFontObject& source) {
  if (const auto* t = dynamic_cast<const TChartTitle*>(&source)) {
    FText = t->FText;
    FAlignment = t->FAlignment;
    FVisible = t->FVisible;
    FFrame.Assign(static_cast<const TChartPen&>(t->FFrame));
    FAdjustFrame = t->FAdjustFrame;
    FBrush.Assign(t->FBrush);
    Repaint();
  }
  TChartFontObject::Assign(source);
}

void TChartTitle::Draw(bool atTop) {
  TCustomAxisPanel* chart = ParentChart();
  if (!chart) return;
  TCanvas& c = chart->DrawCanvas();
  chart->SelectFont(Font());
  const int h = chart->LineHeight();
  c.Brush().Assign(FBrush);
  if (FBrush.Color() == clAutoColor) c.Brush().SetStyle(bsClear);

  const bool framed = FFrame.Visible() && FFrame.Color() != clAutoColor;
  const int fw = framed ? FFrame.Width() : 0;
  const TRect plot = chart->PlotRect();
  const int x0 = plot.Left + fw;
  const int x1 = plot.Right - fw;
  int y0;
  int y1;
  if (atTop) {
    y0 = plot.Top + fw;
    y1 = y0 - 5;
  } else {
    y1 = plot.Bottom - fw;
    y0 = y1 + 5;
  }
  TRect r = Rect(x0, y0, x1, y1);
  int w = 0;
  if (framed) {
    c.Pen().Assign(static_cast<const TPen&>(FFrame));
    w = FFrame.Width();
  }
  const int n = static_cast<int>(FText.size());
  if (atTop)
    r.Bottom = y0 + n * h;
  else
    r.Top = y1 - n * h;
  r.Left -= w;
  r.Top -= w;
  r.Right += w;
  r.Bottom += w;
  if (framed && FAdjustFrame) {
    int m = 0;
    for (const std::string& line : FText) m = std::max(m, chart->TextWidthOf(line));
    const int d = 2 * w + m;
    switch (FAlignment) {
      case taLeftJustify: r.Right = r.Left + d; break;
      case taRightJustify: r.Left = r.Right - d; break;
      case taCenter: {
        const int k = (r.Left + r.Right) / 2;
        r.Left = k - d / 2 - 2 * w;
        r.Right = k + d / 2 + 2 * w;
        break;
      }
    }
  }
  FTitleRect = r;
  if (framed) chart->DrawRectangle(r);

  c.SetBkMode(TRANSPARENT);
  for (int k = 0; k < n; ++k) {
    const std::string& line = FText[static_cast<std::size_t>(k)];
    int x = x0;
    if (FAlignment == taRightJustify)
      x = x1 - chart->TextWidthOf(line);
    else if (FAlignment == taCenter)
      x = (x0 + x1) / 2 - chart->TextWidthOf(line) / 2;
    chart->OutText(x, atTop ? y0 + k * h : y1 - (n - k) * h, line);
  }

  // The plot gives up the block (nothing for a block with no lines and no frame).
  if (n == 0 && !framed) return;
  TRect p = chart->PlotRect();
  if (atTop)
    p.Top = y0 + n * h + (framed ? 2 * w : 0) + 5;
  else
    p.Bottom = y1 - n * h - (framed ? 2 * w : 0) - 5;
  chart->SetPlotRect(p);
}

}  // namespace varnel
