// Reading a query reply through the JSON library's event (SAX) interface: no document is built,
// so whatever the reply holds, memory grows only with the series kept.
#include "remote/QueryReply.h"

#include <charconv>
#include <cmath>
#include <nlohmann/json.hpp>

namespace varnel {
namespace {

using json = nlohmann::json;

// Where an object or array sits in the reply.
enum class TRole { Root, Data, Result, Series, Metric, Value, Values, Other };

struct TFrame {
  TRole Role;
  std::string Key;        // the current key, in an object
  std::size_t Index = 0;  // the current element, in an array
};

constexpr std::size_t kMaxDepth = 32;

// A sample value as the server writes it: "37.25", "NaN", "+Inf", "-Inf", "1e3".
bool ParseSampleText(const std::string& text, std::optional<double>& value) {
  const char* p = text.data();
  const char* end = p + text.size();
  if (p < end && *p == '+') ++p;
  double v = 0;
  const auto [stop, ec] = std::from_chars(p, end, v);
  if (ec != std::errc() || stop != end || p == end) return false;
  value = std::isfinite(v) ? std::optional<double>(v) : std::nullopt;
  return true;
}

class TReplyReader : public json::json_sax_t {
 public:
  explicit TReplyReader(TQueryReply& out) : FOut(out) {}

  bool null() override { return Scalar(); }
  bool boolean(bool) override { return Scalar(); }
  bool number_integer(number_integer_t v) override { return Number(static_cast<double>(v)); }
  bool number_unsigned(number_unsigned_t v) override { return Number(static_cast<double>(v)); }
  bool number_float(number_float_t v, const string_t&) override { return Number(v); }
  bool binary(binary_t&) override { return Scalar(); }

  bool string(string_t& s) override {
    if (!FStack.empty()) {
      TFrame& top = FStack.back();
      switch (top.Role) {
        case TRole::Root:
          if (top.Key == "status") FStatus = s;
          if (top.Key == "error") FError = s;
          break;
        case TRole::Data:
          if (top.Key == "resultType") FResultType = s;
          break;
        case TRole::Metric:
          Label(top.Key, s);
          break;
        case TRole::Value:
        case TRole::Result:
          if (top.Role == TRole::Result && top.Index > 1) FBadShape = true;
          if (top.Index == 1) {
            std::optional<double> value;
            if (!ParseSampleText(s, value)) return false;
            SetValue(top.Role, value);
          }
          break;
        default:
          break;
      }
    }
    return Scalar();
  }

  bool key(string_t& k) override {
    FStack.back().Key = k;
    return true;
  }

  bool start_object(std::size_t) override { return Push(true); }
  bool start_array(std::size_t) override { return Push(false); }
  bool end_object() override { return Pop(); }
  bool end_array() override { return Pop(); }

  bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) override { return false; }

  // What the reply amounts to, once the parse is through.
  bool Finish() {
    if (FStatus == "error") {
      FOut.Series.clear();
      FOut.Error.clear();
      for (char c : FError.substr(0, kMaxQueryErrorText))
        FOut.Error.push_back(static_cast<unsigned char>(c) < 0x20 || c == 0x7F ? ' ' : c);
      return false;
    }
    if (FStatus != "success" || !FSawResult || FBadShape) return false;
    if (FResultType == "scalar") {
      if (!FScalarSet || FSeriesShaped) return false;
      FOut.Series.assign(1, TQuerySeries{"", FScalar});
      return true;
    }
    if (FResultType != "vector" && FResultType != "matrix") return false;
    if (FScalarSet) return false;
    for (std::size_t i = 0; i < FOut.Series.size(); ++i) {
      TLabels& l = FLabels[i];
      FOut.Series[i].Name = l.HasInstance ? l.Instance : l.HasFirst ? l.First : l.MetricName;
    }
    return true;
  }

 private:
  struct TLabels {
    std::string Instance, First, MetricName;
    bool HasInstance = false, HasFirst = false;
  };

  // The role of a container opened at the top of the stack.
  TRole ChildRole(bool object) const {
    if (FStack.empty()) return object ? TRole::Root : TRole::Other;
    const TFrame& parent = FStack.back();
    switch (parent.Role) {
      case TRole::Root:
        return object && parent.Key == "data" ? TRole::Data : TRole::Other;
      case TRole::Data:
        return !object && parent.Key == "result" ? TRole::Result : TRole::Other;
      case TRole::Result:
        return object ? TRole::Series : TRole::Other;
      case TRole::Series:
        if (object) return parent.Key == "metric" ? TRole::Metric : TRole::Other;
        return parent.Key == "value" ? TRole::Value : parent.Key == "values" ? TRole::Values : TRole::Other;
      case TRole::Values:
        return object ? TRole::Other : TRole::Value;
      default:
        return TRole::Other;
    }
  }

  bool Push(bool object) {
    if (FStack.size() >= kMaxDepth) return false;
    const TRole role = ChildRole(object);
    if (!FStack.empty() && FStack.back().Role == TRole::Result) {
      if (role == TRole::Series) {
        if (FOut.Series.size() >= kMaxQuerySeries) return false;
        FOut.Series.emplace_back();
        FLabels.emplace_back();
        FSeriesShaped = true;
      } else {
        FBadShape = true;  // an array inside the result: no type has that
      }
    }
    if (role == TRole::Result) {
      if (FSawResult) return false;  // a second result
      FSawResult = true;
    }
    FStack.push_back(TFrame{role, {}, 0});
    return true;
  }

  bool Pop() {
    FStack.pop_back();
    return Scalar();
  }

  // A value ended: the array holding it moves to its next element.
  bool Scalar() {
    if (!FStack.empty()) ++FStack.back().Index;
    return true;
  }

  bool Number(double v) {
    (void)v;  // the time stamps of the samples; their values come as text
    if (!FStack.empty()) {
      const TFrame& top = FStack.back();
      if ((top.Role == TRole::Value || top.Role == TRole::Result) && top.Index == 1)
        SetValue(top.Role, std::isfinite(v) ? std::optional<double>(v) : std::nullopt);
      if (top.Role == TRole::Result && top.Index > 1) FBadShape = true;
    }
    return Scalar();
  }

  void SetValue(TRole where, std::optional<double> value) {
    if (where == TRole::Result) {
      FScalar = value;
      FScalarSet = true;
    } else if (!FOut.Series.empty()) {
      FOut.Series.back().Value = value;
    }
  }

  void Label(const std::string& name, const std::string& value) {
    if (FLabels.empty()) return;
    TLabels& l = FLabels.back();
    if (name == "instance") {
      l.Instance = value;
      l.HasInstance = true;
    } else if (name == "__name__") {
      l.MetricName = value;
    } else if (!l.HasFirst) {
      l.First = value;
      l.HasFirst = true;
    }
  }

  TQueryReply& FOut;
  std::vector<TFrame> FStack;
  std::vector<TLabels> FLabels;  // beside FOut.Series
  std::string FStatus, FError, FResultType;
  std::optional<double> FScalar;
  bool FScalarSet = false, FSawResult = false, FSeriesShaped = false, FBadShape = false;
};

}  // namespace

bool ParseQueryReply(std::string_view body, TQueryReply& out) {
  out = TQueryReply();
  TReplyReader reader(out);
  bool parsed = false;
  try {
    parsed = json::sax_parse(body.begin(), body.end(), &reader);
  } catch (const std::exception&) {
    parsed = false;
  }
  if (!parsed) {
    out = TQueryReply();
    return false;
  }
  const bool ok = reader.Finish();
  if (!ok) out.Series.clear();
  return ok;
}

}  // namespace varnel
