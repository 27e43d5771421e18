// The scanner's two uses of a byte source: filling a byte buffer, and the
// system's words for the read error that stopped it.
#ifndef ORVENDA_CORE_INPUT_BYTE_READS_H
#define ORVENDA_CORE_INPUT_BYTE_READS_H

#include <cstddef>
#include <span>
#include <string>
#include <system_error>

#include "engine/byte_source.h"

namespace orvenda::input {

template <class Byte>
std::size_t readBytes(halvik::ByteSource& source, Byte* buffer, std::size_t size) {
    static_assert(sizeof(Byte) == 1);
    return source.read(std::span<std::byte>(reinterpret_cast<std::byte*>(buffer), size));
}

inline std::string readErrorText(const halvik::ByteSource& source) {
    return std::generic_category().message(source.error());
}

}  // namespace orvenda::input

#endif
