#include "oodb/CDBType.h"

namespace {

struct Entry {
  CDBType type;
  const char* token;
  const char* sql;
};

constexpr Entry kTypes[] = {
    {CDBType::boolean, "[__DB_TYPE_BOOL__]", "SMALLINT"},
    {CDBType::int32, "[__DB_TYPE_INT32__]", "INTEGER"},
    {CDBType::uint32, "[__DB_TYPE_UINT32__]", "INTEGER"},
    {CDBType::int64, "[__DB_TYPE_INT64__]", "NUMERIC"},
    {CDBType::uint64, "[__DB_TYPE_UINT64__]", "NUMERIC"},
    {CDBType::shortInt, "[__DB_TYPE_SHORT__]", "SMALLINT"},
    {CDBType::ushortInt, "[__DB_TYPE_USHORT__]", "SMALLINT"},
    {CDBType::longInt, "[__DB_TYPE_LONG__]", "INTEGER"},
    {CDBType::ulongInt, "[__DB_TYPE_ULONG__]", "INTEGER"},
    {CDBType::floatNum, "[__DB_TYPE_FLOAT__]", "FLOAT"},
    {CDBType::doubleNum, "[__DB_TYPE_DOUBLE__]", "DOUBLE PRECISION"},
    {CDBType::numeric, "[__DB_TYPE_NUMERIC__]", "NUMERIC"},
    {CDBType::string, "[__DB_TYPE_STRING__]", "VARCHAR(80)"},
    {CDBType::varying, "[__DB_TYPE_VARYING__]", "VARCHAR(80)"},
    {CDBType::binary, "[__DB_TYPE_BINARY__]", "CHAR(256)"},
    {CDBType::textBlob, "[__DB_TYPE_TEXT_BLOB__]", "BLOB sub_type 1 segment size 1"},
    {CDBType::binaryBlob, "[__DB_TYPE_BINARY_BLOB__]", "BLOB sub_type 0 segment size 10"},
    {CDBType::date, "[__DB_TYPE_DATE__]", "DATE"},
    {CDBType::time, "[__DB_TYPE_TIME__]", "TIME"},
    {CDBType::timeStamp, "[__DB_TYPE_TIME_STAMP__]", "TIMESTAMP"},
    {CDBType::ipAddress, "[__DB_TYPE_IP_ADDRESS__]", nullptr},
    {CDBType::hexStore, "[__DB_TYPE_HEX_STORE__]", nullptr},
    {CDBType::expr, "[__DB_TYPE_EXPR__]", nullptr},
    {CDBType::bootProto, "[__DB_TYPE_BOOT_PROTO__]", nullptr},
    {CDBType::cobject, "[__DB_TYPE_COBJECT__]", nullptr},
    {CDBType::accessID, "[__DB_TYPE_ACCESS_ID__]", nullptr},
    {CDBType::accessRights, "[__DB_TYPE_ACCESS_RIGHTS__]", nullptr},
    {CDBType::domainID, "[__DB_TYPE_DOMAIN_ID__]", nullptr},
    {CDBType::domainGroupID, "[__DB_TYPE_DOMAIN_GROUP_ID__]", nullptr},
    {CDBType::fixedOffset, "[__DB_TYPE_FIXED_OFFSET__]", nullptr},
    {CDBType::anyNumeric, "[__DB_TYPE_ANY_NUMERIC__]", nullptr},
    {CDBType::any, "[__DB_TYPE_ANY__]", nullptr},
    {CDBType::unknown, "[__DB_TYPE_UNKNOWN__]", nullptr},
};

}  // namespace

const char* dbTypeToken(CDBType type) {
  return kTypes[static_cast<int>(type)].token;
}

std::optional<CDBType> dbTypeFromToken(std::string_view token) {
  for (const auto& e : kTypes)
    if (token == e.token) return e.type;
  return std::nullopt;
}

const char* dbTypeSqlName(CDBType type) {
  const char* sql = kTypes[static_cast<int>(type)].sql;
  return sql ? sql : "UNKNOWN SQL TYPE";
}
