#include "tools/CTextTable.h"

#include <algorithm>

CTextTable::CTextTable(std::vector<std::string> header, std::vector<bool> rightAligned)
    : m_right(std::move(rightAligned)) {
  m_right.resize(header.size(), false);
  m_rows.push_back(std::move(header));
}

void CTextTable::add(std::vector<std::string> row) {
  row.resize(m_rows.front().size());
  m_rows.push_back(std::move(row));
}

void CTextTable::print(std::ostream& out) const {
  std::vector<std::size_t> width(m_rows.front().size(), 0);
  for (const auto& row : m_rows)
    for (std::size_t c = 0; c < row.size(); ++c) width[c] = std::max(width[c], row[c].size());
  for (const auto& row : m_rows) {
    std::string line;
    for (std::size_t c = 0; c < row.size(); ++c) {
      const std::string pad(width[c] - row[c].size(), ' ');
      if (c > 0) line += "  ";
      line += m_right[c] ? pad + row[c] : row[c] + (c + 1 < row.size() ? pad : "");
    }
    out << line << "\n";
  }
}
