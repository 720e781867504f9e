#include "tuning/TuningContext.h"

namespace corvane {

std::string DescribeValue(const FailedValue& value) {
  std::string text = value.root == RootKey::CurrentUser ? "HKEY_CURRENT_USER\\" : "HKEY_LOCAL_MACHINE\\";
  text += value.keyPath;
  text += '\\';
  text += value.valueName.empty() ? std::string("(Default)") : value.valueName;
  return text;
}

}  // namespace corvane
