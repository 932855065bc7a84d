// Series data sources: a series can take its points from other series. The source keeps the list
// of its dependents and tells them about every added, deleted or cleared point (and about whole
// reloads), so that each follows it point by point or, with a calculation attached, recomputes.
// The operations are members of TChartSeries (Series.h) and are implemented in DataSource.cpp:
// NotifyDependents, SetDataSource with its checks, LinkSource, UnlinkSource, ReloadFromSource,
// CopyPointsFrom, AppendPointFromSource, AppendFromSource, SourcePointDeleted, AttachCalculation.
//
//   copy.SetParentChart(&chart);  copy.SetDataSource(&raw);   // copy now follows raw
//   raw.AppendY(5);                                           // ... and gets the point too
//
// Setting a data source on a series that has no chart cannot be checked: the series shows the
// message "No ParentChart to validate DataSource" through the handler below and changes nothing.
#pragma once
#include <functional>
#include <string>

namespace varnel {

// Shows a message to the user (the program's message box). Without a handler the message is
// written to standard error.
using TShowMessageHandler = std::function<void(const std::string& message)>;
void SetDataSourceMessageHandler(TShowMessageHandler handler);

// Shows a message through the installed handler.
void ShowDataSourceMessage(const std::string& message);

}  // namespace varnel
