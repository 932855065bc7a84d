// TApplication: the program-wide state of the user-interface thread: the application title
// (the caption of every error box) and the standard error report. An exception that ends a
// tick or a menu command is caught at that boundary (Guard) and shown as one modal error box.
//
// At most one error box is open at a time: an error raised while one is open (the timer keeps
// ticking under it, so a lasting fault is raised again every second) is not stacked on top of
// it; it is counted and dropped.
//
//   app.Guard([&] { form.Timer1Timer(); });
#pragma once
#include <exception>
#include <string>
#include <utility>

#include "base/Exceptions.h"

namespace varnel {

class TMessageBoxPort;

class TApplication {
 public:
  // While the application exists, messages of the chart engine's data-source checks go to its
  // error report too.
  explicit TApplication(TMessageBoxPort* messageBox);
  ~TApplication();
  TApplication(const TApplication&) = delete;
  TApplication& operator=(const TApplication&) = delete;

  const std::string& Title() const { return FTitle; }
  void SetTitle(std::string title) { FTitle = std::move(title); }

  // Shows a message as the error box: ErrorReportText of the message, captioned with the title.
  // Does nothing while an error box is already open.
  void ShowException(const std::string& message);

  // Runs a handler; an exception that leaves it is reported by ShowException.
  template <typename F>
  void Guard(F&& handler) {
    try {
      std::forward<F>(handler)();
    } catch (const Exception& e) {
      ShowException(e.Message());
    } catch (const std::exception& e) {
      ShowException(e.what());
    }
  }

  bool ErrorBoxOpen() const { return FErrorBoxOpen; }
  // Errors dropped because a box was already open.
  int DroppedErrors() const { return FDroppedErrors; }

 private:
  TMessageBoxPort* FMessageBox;
  std::string FTitle;
  bool FErrorBoxOpen = false;
  int FDroppedErrors = 0;
};

}  // namespace varnel
