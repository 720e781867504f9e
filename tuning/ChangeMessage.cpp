#include "tuning/ChangeMessage.h"

#include "platform/Registry.h"

namespace corvane {

std::string ChangeFailureMessage(const ChangeCounts& counts, std::string_view what,
                                 std::string_view afterwards) {
  if (counts.failed == 0) return std::string();
  const int total = counts.written + counts.removed + counts.failed;
  std::string message = std::string(what) + ": " + std::to_string(counts.failed) + " of " +
                        std::to_string(total) + ".\n";
  bool refused = false;
  std::size_t named = 0;
  for (const FailedValue& failure : counts.failures) {
    refused = refused || failure.code == reg::kAccessDenied;
    if (named == kNamedFailures) continue;
    ++named;
    message += "\n" + DescribeValue(failure) + (failure.removal ? " (removal" : " (") +
               (failure.removal ? ", error " : "error ") + std::to_string(failure.code) +
               (failure.code == reg::kAccessDenied ? ", access denied)" : ")");
  }
  if (counts.failures.size() > named) {
    message += "\nand " + std::to_string(counts.failures.size() - named) + " more";
  }
  message += "\n";
  if (refused) {
    message += "\nYou may lack the right to change these settings; an administrator can.";
  }
  if (!afterwards.empty()) message += "\n" + std::string(afterwards);
  return message;
}

}  // namespace corvane
