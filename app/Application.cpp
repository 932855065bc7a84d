// TApplication: the error report with its one-box-at-a-time rule.
#include "app/Application.h"

#include "app/Ports.h"
#include "base/Messages.h"
#include "series/DataSource.h"

namespace varnel {

TApplication::TApplication(TMessageBoxPort* messageBox) : FMessageBox(messageBox) {
  SetDataSourceMessageHandler([this](const std::string& message) { ShowException(message); });
}

TApplication::~TApplication() { SetDataSourceMessageHandler(nullptr); }

void TApplication::ShowException(const std::string& message) {
  if (FErrorBoxOpen) {
    ++FDroppedErrors;
    return;
  }
  if (!FMessageBox) return;
  FErrorBoxOpen = true;
  struct Reset {
    bool& flag;
    ~Reset() { flag = false; }
  } reset{FErrorBoxOpen};
  FMessageBox->ShowError(ErrorReportText(message), FTitle);
}

}  // namespace varnel
