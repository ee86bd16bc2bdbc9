#pragma once
// Ordered text-to-text map with typed access; configuration, event records
// and parsed records use it. Key comparison is case-sensitive or not, as
// chosen at construction.

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace nuv {

class CStringMap {
 public:
  struct KeyLess {
    bool caseSensitive = true;
    bool operator()(const std::string& a, const std::string& b) const;
  };
  using Map = std::map<std::string, std::string, KeyLess>;
  using const_iterator = Map::const_iterator;

  explicit CStringMap(bool caseSensitive = true) : m_map(KeyLess{caseSensitive}) {}

  bool caseSensitive() const { return m_map.key_comp().caseSensitive; }
  bool has(const std::string& key) const { return m_map.count(key) != 0; }
  bool empty() const { return m_map.empty(); }
  std::size_t size() const { return m_map.size(); }
  void clear() { m_map.clear(); }
  bool erase(const std::string& key) { return m_map.erase(key) != 0; }
  const_iterator begin() const { return m_map.begin(); }
  const_iterator end() const { return m_map.end(); }
  const_iterator find(const std::string& key) const { return m_map.find(key); }

  // Getters return the default when the key is absent. A present value that
  // does not parse as the requested type throws, naming key and value.
  std::string get(const std::string& key, const std::string& def = {}) const;
  const std::string* getp(const std::string& key) const;
  std::int32_t get_int32(const std::string& key, std::int32_t def = 0) const;
  std::uint32_t get_uint32(const std::string& key, std::uint32_t def = 0) const;
  std::int64_t get_int64(const std::string& key, std::int64_t def = 0) const;
  std::uint64_t get_uint64(const std::string& key, std::uint64_t def = 0) const;
  bool get_bool(const std::string& key, bool def = false) const;

  void set(const std::string& key, std::string value) { m_map[key] = std::move(value); }
  void set_int64(const std::string& key, std::int64_t v) { set(key, std::to_string(v)); }
  void set_uint64(const std::string& key, std::uint64_t v) { set(key, std::to_string(v)); }
  void set_bool(const std::string& key, bool v) { set(key, v ? "true" : "false"); }

  bool operator==(const CStringMap& other) const { return m_map == other.m_map; }

 private:
  Map m_map;
};

}  // namespace nuv
