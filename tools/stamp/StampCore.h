// Writes the client's address record after the raw data of an executable's
// sections. Portable: it runs on the build machine as well as on Windows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace Stamp {

// The client reads at most this many bytes of record, terminator included.
constexpr std::size_t kRecordLimit = 256;

// Where the overlay of a PE image starts: the end of the raw data furthest into
// the file over all sections. Fails with a reason on anything that is not a
// well-formed PE image.
bool FindOverlayOffset(const std::vector<std::uint8_t>& image, std::size_t& offset,
                       std::string& error);

// Builds "login|service", a NUL, and NUL padding to the next 8-byte boundary
// of the file (the record starts at overlayOffset).
bool BuildRecord(const std::string& login, const std::string& service, std::size_t overlayOffset,
                 std::vector<std::uint8_t>& record, std::string& error);

// Replaces the image's overlay with the record. Refuses a signed image, one with
// a symbol table after its sections, and an overlay that is not a record.
bool StampImage(std::vector<std::uint8_t>& image, const std::string& login,
                const std::string& service, std::string& error);

// StampImage on a file, rewritten in place only when stamping succeeds.
bool StampFile(const std::string& path, const std::string& login, const std::string& service,
               std::string& error);

} // namespace Stamp
