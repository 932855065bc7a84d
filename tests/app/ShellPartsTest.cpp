// Tests of the window-independent parts of the shell: menu accelerators, the About box model
// and the error report's one-box rule.
#include <gtest/gtest.h>

#include "app/AboutBox.h"
#include "app/Application.h"
#include "app/HeadlessPorts.h"
#include "app/PopupMenu.h"
#include "base/Exceptions.h"
#include "series/DataSource.h"
#include "series/Series.h"

namespace varnel {
namespace {

TEST(PopupMenu, AcceleratorsAndCaptions) {
  TPopupMenu m;
  TMenuItem* about = m.Items().Add("About1", "&About", mkCommand);
  m.Items().Add("N1", "-", mkSeparator);
  TMenuItem* top = m.Items().Add("OnTop", "Stay On &Top", mkCheck);
  TMenuItem* colour = m.Items().Add("Colour1", "Colo&ur", mkSubmenu);
  TMenuItem* line = colour->Add("ColourCPUUsage1", "&Line", mkCommand);
  TMenuItem* amp = m.Items().Add("X", "A&&B &c", mkCommand);
  m.Items().Add("Exit1", "E&xit", mkCommand);

  EXPECT_EQ(about->Accelerator(), 'A');
  EXPECT_EQ(top->DisplayCaption(), "Stay On Top");
  EXPECT_EQ(amp->Accelerator(), 'c');
  EXPECT_EQ(amp->DisplayCaption(), "A&B c");
  EXPECT_EQ(m.Find("ColourCPUUsage1"), line);
  EXPECT_EQ(line->Parent(), colour);
  EXPECT_EQ(m.Find("nothing"), nullptr);

  // Exact case first, then the other case; submenu items are not on the top level.
  EXPECT_EQ(TPopupMenu::FindByAccelerator(m.Items(), 'a'), about);
  EXPECT_EQ(TPopupMenu::FindByAccelerator(m.Items(), 'T'), top);
  EXPECT_EQ(TPopupMenu::FindByAccelerator(m.Items(), 'C'), amp);
  EXPECT_EQ(TPopupMenu::FindByAccelerator(m.Items(), 'l'), nullptr);
  EXPECT_EQ(TPopupMenu::FindByAccelerator(*colour, 'L'), line);
  EXPECT_EQ(TPopupMenu::FindByAccelerator(m.Items(), '-'), nullptr);
}

TEST(AboutBox, ControlsButtonsAndHomePage) {
  THeadlessShell shell;
  TAboutBox box(&shell);
  EXPECT_EQ(box.Caption(), "Orrick");
  EXPECT_EQ(box.ClientWidth(), 361);
  EXPECT_EQ(box.ClientHeight(), 225);
  ASSERT_EQ(box.Controls().size(), 11u);
  EXPECT_EQ(box.Controls().front().Name, "Panel1");
  EXPECT_EQ(box.Controls().back().Name, "OKButton");
  const TAboutControl* product = box.Control("ProductName");
  ASSERT_NE(product, nullptr);
  EXPECT_EQ(product->Text, "Varnel");
  EXPECT_EQ(product->Bounds, Bounds(96, 16, 157, 20));
  EXPECT_TRUE(product->Bold);
  EXPECT_EQ(box.Control("Version")->Text, "Version 1.0     (August 1998) ");
  EXPECT_EQ(box.Control("Button1")->Text, "&Go to Home Page");
  EXPECT_TRUE(box.Control("OKButton")->Default);
  EXPECT_LE(TAboutBox::HomePage.size(), 79u);

  // The home-page button opens the address and leaves the box open; OK closes it.
  box.Press("Button1");
  EXPECT_EQ(box.ModalResult(), mrNone);
  ASSERT_EQ(shell.Opened.size(), 1u);
  EXPECT_EQ(shell.Opened[0], TAboutBox::HomePage);
  box.Press("OKButton");
  EXPECT_EQ(box.ModalResult(), mrOk);
}

TEST(ErrorReport, TextCaptionAndOneBoxAtATime) {
  THeadlessMessageBox boxes;
  TApplication app(&boxes);
  app.SetTitle("Varnel");
  // A fault that is raised again while the box is open (the timer keeps ticking under it).
  int ticks = 0;
  boxes.OnShow = [&] {
    for (int i = 0; i < 3; ++i) {
      ++ticks;
      app.Guard([] { throw ERegistryException("Invalid data type for 'KERNEL'"); });
    }
  };
  app.Guard([] { throw EConvertError("'9 0' is not a valid integer value"); });
  EXPECT_EQ(ticks, 3);
  EXPECT_EQ(boxes.MaxOpen, 1);
  ASSERT_EQ(boxes.Texts.size(), 1u);
  EXPECT_EQ(boxes.Texts[0], "'9 0' is not a valid integer value.");
  EXPECT_EQ(boxes.Captions[0], "Varnel");
  EXPECT_EQ(app.DroppedErrors(), 3);
  EXPECT_FALSE(app.ErrorBoxOpen());

  // Once it is closed the next error gets its own box; a handler that ends normally shows none.
  boxes.OnShow = nullptr;
  app.Guard([] { throw ERegistryException("Failed to get data for 'KERNEL\\CPUUsage'"); });
  app.Guard([] {});
  ASSERT_EQ(boxes.Texts.size(), 2u);
  EXPECT_EQ(boxes.Texts[1], "Failed to get data for 'KERNEL\\CPUUsage'");  // "'" sorts before "."
}

TEST(ErrorReport, DataSourceMessagesReachTheErrorBox) {
  THeadlessMessageBox boxes;
  {
    TApplication app(&boxes);
    app.SetTitle("Varnel");
    TChartSeries orphan;  // no parent chart to validate a data source with
    TChartSeries source;
    orphan.SetDataSource(&source);
    ASSERT_EQ(boxes.Texts.size(), 1u);
    EXPECT_EQ(boxes.Texts[0], "No ParentChart to validate DataSource.");
    EXPECT_EQ(boxes.Captions[0], "Varnel");
  }
  ShowDataSourceMessage("after the application");  // handler removed: standard error, no box
  EXPECT_EQ(boxes.Texts.size(), 1u);
}

}  // namespace
}  // namespace varnel
