#pragma once
// What the object layer needs of a database driver: prepared statements
// with positional "?" parameters, their result rows, and running a script.
// Providers implement it once per engine; the SQL itself comes from the
// provider's statement file. Driver failures raise CPrstException; a lock
// timeout, serialization failure or deadlock raises CPrstConflictException;
// a lost connection or a full disk raises CPrstUnavailableException.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "oodb/CDBValue.h"

class CSqlStatement {
 public:
  virtual ~CSqlStatement() = default;

  // Binds the parameters in placeholder order and runs the statement.
  virtual void execute(const std::vector<CDBValue>& params) = 0;
  // Moves to the next result row; false after the last.
  virtual bool next() = 0;
  virtual std::size_t columnCount() const = 0;
  // Column names in upper case.
  virtual const std::string& columnName(std::size_t index) const = 0;
  virtual CDBValue column(std::size_t index) const = 0;
  // Rows changed by the last execution of an INSERT, UPDATE or DELETE.
  virtual std::int64_t affectedRows() const = 0;
  // Releases the result; the statement may run again.
  virtual void reset() = 0;
};

class CSqlConnection {
 public:
  virtual ~CSqlConnection() = default;

  // The engine ("sqlite", "pgsql"), for messages.
  virtual std::string dialect() const = 0;
  // Prepares a statement; name identifies it in messages and driver caches.
  virtual std::unique_ptr<CSqlStatement> prepare(const std::string& name,
                                                 const std::string& sql) = 0;
  // Runs SQL text without parameters or results (schema scripts).
  virtual void executeScript(const std::string& sql) = 0;
  // Called before each transaction: brings back a connection a failure
  // left unusable, its prepared statements still valid. Raises
  // CPrstUnavailableException while that is not possible.
  virtual void recover() {}
};
