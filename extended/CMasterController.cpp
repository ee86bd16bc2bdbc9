#include "extended/CMasterController.h"

#include <string_view>

bool CMasterController::isStatusQuery(const char* bytes, std::size_t length) {
  const std::string_view data(bytes, length);
  return (length >= 6 && data.substr(0, 6) == "query_") ||
         (length >= 7 && data.substr(0, 7) == "config_");
}
