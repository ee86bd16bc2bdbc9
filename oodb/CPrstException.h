#pragma once
// Persistence failures. They name the module "oodb_persistence" whichever
// library raises them, so that the packet handler can tell a database-layer
// failure from any other. A conflict (another transaction changed or
// deleted the row first) has its own type so that callers may retry; so
// has a duplicate (a unique key already holds the value), which
// CIPrstSession::commitUnique turns into a refusal the transaction survives.
// An unavailable database (the connection is lost, the disk is full) has
// one too: the work is dropped and tried again with the next transaction.

#include <string>

#include "standard/CException.h"

class CPrstException : public nuv::CException {
 public:
  CPrstException(nuv::CMessage what, nuv::CMessage why, std::string context, const char* file = "",
                 int line = 0)
      : nuv::CException(std::move(what), std::move(why), "oodb_persistence", std::move(context),
                        file, line) {}
};

class CPrstConflictException : public CPrstException {
 public:
  using CPrstException::CPrstException;
};

class CPrstDuplicateException : public CPrstException {
 public:
  using CPrstException::CPrstException;
};

class CPrstUnavailableException : public CPrstException {
 public:
  using CPrstException::CPrstException;
};

#define PRST_THROW(context, what, why) \
  throw ::CPrstException((what), (why), (context), __FILE__, __LINE__)
