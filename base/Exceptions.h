// The exception classes of the system: one Exception base carrying Message(), and the typed
// exceptions the components raise. Everything that is not one of these reports failure by
// return value.
#pragma once
#include <exception>
#include <string>
#include <utility>

namespace varnel {

class Exception : public std::exception {
 public:
  explicit Exception(std::string message) : FMessage(std::move(message)) {}
  const std::string& Message() const { return FMessage; }
  const char* what() const noexcept override { return FMessage.c_str(); }

 private:
  std::string FMessage;
};

// Text that is not an integer ("'%s' is not a valid integer value").
class EConvertError : public Exception {
  using Exception::Exception;
};
// An index outside a list ("List index out of bounds (%d)").
class EListError : public Exception {
  using Exception::Exception;
};
// A registry value of the wrong type or one that could not be read.
class ERegistryException : public Exception {
  using Exception::Exception;
};
// A chart property given an invalid value.
class ChartException : public Exception {
  using Exception::Exception;
};
// An axis property given an invalid value.
class AxisException : public ChartException {
  using ChartException::ChartException;
};
// A legend property given an invalid value.
class LegendException : public ChartException {
  using ChartException::ChartException;
};

}  // namespace varnel
