#pragma once
// Column type tokens: how a record names the type of a column in its
// record layout and a statement its argument types.

#include <map>
#include <optional>
#include <string>
#include <string_view>

enum class CDBType {
  boolean,
  int32,
  uint32,
  int64,
  uint64,
  shortInt,
  ushortInt,
  longInt,
  ulongInt,
  floatNum,
  doubleNum,
  numeric,
  string,
  varying,
  binary,
  textBlob,
  binaryBlob,
  date,
  time,
  timeStamp,
  ipAddress,
  hexStore,
  expr,
  bootProto,
  cobject,
  accessID,
  accessRights,
  domainID,
  domainGroupID,
  fixedOffset,
  anyNumeric,
  any,
  unknown,
};

// "[__DB_TYPE_BOOL__]" and so on.
const char* dbTypeToken(CDBType type);
// The type of a token; nothing for a text that is not one.
std::optional<CDBType> dbTypeFromToken(std::string_view token);
// The generic SQL type of the basic types; "UNKNOWN SQL TYPE" for the rest.
// The dialect files carry the real column definitions.
const char* dbTypeSqlName(CDBType type);

// Column name to type token: a record layout's column overrides.
using CDBTypeStringMap = std::map<std::string, std::string>;
