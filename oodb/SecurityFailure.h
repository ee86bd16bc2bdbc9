#pragma once
// Access-control failures name the module "security", whichever library
// raises them, so that they can be told apart in the log.

#include "standard/CException.h"

#define OODB_THROW_SECURITY(context, what, why) \
  throw ::nuv::CException((what), (why), "security", (context), __FILE__, __LINE__)
