// The message table: every text the system shows in an error, and the resource strings the
// chart takes its defaults from. Fill the %s and %d holes with FormatMessage.
//
//   throw EConvertError(FormatMessage(msg::InvalidInteger, {text}));
#pragma once
#include <initializer_list>
#include <string>
#include <string_view>

namespace varnel {
namespace msg {

// Conversions and lists.
inline constexpr const char* InvalidInteger = "'%s' is not a valid integer value";
inline constexpr const char* ListIndexError = "List index out of bounds (%d)";

// Settings file.
inline constexpr const char* UnableToWrite = "Unable to write to %s";

// Registry.
inline constexpr const char* InvalidRegType = "Invalid data type for '%s'";
inline constexpr const char* RegGetDataFailed = "Failed to get data for '%s'";

// Chart resources (numbered as in the chart's table).
inline constexpr const char* DefaultFontName = "Arial";         // 65307
inline constexpr const char* DefaultFontSize = "8";             // 65299
inline constexpr const char* Chart3DPercent = "3D effect percent must be between %d and %d";  // 65336
inline constexpr const char* MaxPointsPerPage = "MaxPointsPerPage must be >= 0";             // 65335
inline constexpr const char* DefValueFormat = "#,##0.###";
inline constexpr const char* DefPercentFormat = "##0.## %";
inline constexpr const char* PercentOfTotal = "%s of %s";

// Axes.
inline constexpr const char* AxisMinMax = "Axis Minimum Value must be <= Maximum";
inline constexpr const char* AxisMaxMin = "Axis Maximum Value must be >= Minimum";
inline constexpr const char* AxisIncrement = "Axis increment must be >= 0";
inline constexpr const char* AxisDateTimeLog = "DateTime Axis cannot be Logarithmic";
inline constexpr const char* AxisLogNotPositive = "Logarithmic Axis Min and Max values should be >= 0";
inline constexpr const char* AxisLabelSep = "Labels Separation % must be greater than 0";
inline constexpr const char* AngleRange = "%s Angle must be between 0 and 359 degrees";
inline constexpr const char* AxisLabels = "Axis Labels";
inline constexpr const char* AxisTitle = "Axis Title";

// Legend.
inline constexpr const char* LegendTopPos = "Top Legend Position must be between 0 and 100 %";
inline constexpr const char* LegendColorWidth = "Legend Color Width must be between 0 and 100 %";
inline constexpr const char* LegendFirstValue = "First Legend Value must be > 0";

// Series and data sources.
inline constexpr const char* FillSample = "FillSampleValues NumValues must be > 0";
inline constexpr const char* NoParentChart = "No ParentChart to validate DataSource";
inline constexpr const char* NoValidDataSource = "No valid DataSource: %s";
inline constexpr const char* CircularSeries = "Circular Series dependences are not allowed";
inline constexpr const char* FunctionPeriod = "Function Period should be >= 0";

}  // namespace msg

// Fills the holes of a message in order: each "%s" or "%d" takes the next argument as text;
// "%%" gives "%"; a hole with no argument left stays as written.
std::string FormatMessage(std::string_view pattern, std::initializer_list<std::string_view> args);

// The text of an error as the error report shows it: a "." is appended when the last
// character sorts after ".".
std::string ErrorReportText(const std::string& message);

}  // namespace varnel
