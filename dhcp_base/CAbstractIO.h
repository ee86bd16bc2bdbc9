#pragma once
// What every codec shares: big-endian fields of 1 to 8 bytes, the header
// widths that apply to an option (those of its parent container), and the
// failures of header-level reads.

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string_view>

class COption;
class CDHCPContext;

class CAbstractIO {
 public:
  struct Widths {
    unsigned tag;
    unsigned len;
    unsigned type;
  };

  // The header widths of the children of container: its "subtag_width" etc.
  // when it is a sub-encoded container that sets them, else the protocol's.
  static Widths childWidths(const COption& container);
  // The widths of option's own header (those of its parent's children).
  static Widths widthsOf(const COption& option);
  // The largest payload one header of length width len carries.
  static std::size_t maxPayload(unsigned lenWidth) {
    return lenWidth >= 8 ? SIZE_MAX : (std::size_t{1} << (8 * lenWidth)) - 2;
  }

  // Each reads one field at pos (end bounds the buffer) and returns the
  // position after it; a field running past end fails with "Malformed
  // buffer (no terminator found).".
  static const std::uint8_t* readTag(const std::uint8_t* pos, const std::uint8_t* end,
                                     unsigned width, std::uint32_t& tag, const std::uint8_t* start);
  static const std::uint8_t* readLen(const std::uint8_t* pos, const std::uint8_t* end,
                                     unsigned width, std::size_t& len, const std::uint8_t* start);
  static const std::uint8_t* readType(const std::uint8_t* pos, const std::uint8_t* end,
                                      unsigned width, std::uint32_t& type,
                                      const std::uint8_t* start);

  // Writes the low width bytes of value, most significant first.
  static std::uint8_t* writeSqueezed(std::uint8_t* pos, std::uint64_t value, unsigned width) {
    for (unsigned i = width; i-- > 0;) *pos++ = static_cast<std::uint8_t>(value >> (8 * i));
    return pos;
  }
  // Reads a big-endian value of 1 to 8 bytes.
  static std::uint64_t readBig(const std::uint8_t* pos, unsigned width) {
    std::uint64_t v = 0;
    for (unsigned i = 0; i < width; ++i) v = (v << 8) | pos[i];
    return v;
  }
  // The same for 1 to 4 bytes; other widths fail with "Data width %1 is
  // not supported.".
  static std::uint32_t get32bitFromPtr(const std::uint8_t* pos, unsigned width);

  // Writes code, a zero length and (typeWidth > 0) the type; returns where
  // the value goes.
  static std::uint8_t* startTLTHeader(std::uint8_t* pos, const Widths& w, std::uint32_t code,
                                      std::int32_t type);
  // Patches the length field of a header written at header.
  static void finishTLTHeader(std::uint8_t* header, const Widths& w, std::size_t length);

  // The failures codecs share (thrown from here so that templates
  // instantiated elsewhere still name this module).
  [[noreturn]] static void _tooShort(const COption& option, const std::uint8_t* start,
                                     const std::uint8_t* pos);
  [[noreturn]] static void _outOfBounds(std::uint32_t code, const std::uint8_t* start,
                                        const std::uint8_t* pos);
  [[noreturn]] static void _outputTooSmall(const COption& option);
  // A value's length prefix that runs past the payload.
  [[noreturn]] static void _lengthTooLarge(const COption& option, const std::uint8_t* start,
                                           const std::uint8_t* pos);
  [[noreturn]] static void _fail(const char* context, const char* what, const char* why,
                                 std::initializer_list<std::string_view> whatArgs = {},
                                 std::initializer_list<std::string_view> whyArgs = {});
};
