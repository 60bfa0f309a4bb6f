#pragma once
#include <stdexcept>
#include <string>

namespace didod::testing {

// Runs f and returns the message it throws ("" when it throws nothing).
template <typename F>
std::string MessageOf(F&& f) {
  try {
    f();
  } catch (const std::runtime_error& e) {
    return e.what();
  }
  return "";
}

}  // namespace didod::testing
