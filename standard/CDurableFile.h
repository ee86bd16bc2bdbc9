#pragma once
// Replaces a file's content so that a crash or a full disk never leaves a
// partial or empty file behind: the text goes to "<path>.tmp", which is
// flushed, synced and renamed over the file, every step checked.

#include <string>

namespace nuv {

class CDurableFile {
 public:
  // Throws a CException naming the file and the step that failed, with the
  // system error as the why; the temporary file is removed then.
  static void write(const std::string& path, const std::string& text);
};

}  // namespace nuv
