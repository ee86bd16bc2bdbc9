#pragma once
// A table for the terminal: a header row and data rows, each column as
// wide as its widest cell, columns two blanks apart, numbers (cells the
// caller marks) aligned right.

#include <ostream>
#include <string>
#include <vector>

class CTextTable {
 public:
  // rightAligned: one flag per column; missing flags mean left.
  explicit CTextTable(std::vector<std::string> header, std::vector<bool> rightAligned = {});

  void add(std::vector<std::string> row);
  std::size_t rows() const { return m_rows.size() - 1; }
  void print(std::ostream& out) const;

 private:
  std::vector<std::vector<std::string>> m_rows;  // the header first
  std::vector<bool> m_right;
};
