#include "standard/CDataDir.h"

#include <dlfcn.h>
#include <unistd.h>

namespace nuv {

namespace {

std::string find() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&CDataDir::path), &info) != 0 && info.dli_fname) {
    const std::string library = info.dli_fname;
    const std::size_t slash = library.rfind('/');
    const std::string libDir = slash == std::string::npos ? "." : library.substr(0, slash);
    const std::string installed = libDir + "/" + NUV_DATA_FROM_LIBDIR;
    if (::access((installed + "/options6.spec").c_str(), R_OK) == 0) return installed;
  }
  return NUV_BUILD_DATA_DIR;
}

}  // namespace

const std::string& CDataDir::path() {
  static const std::string dir = find();
  return dir;
}

}  // namespace nuv
