#include "core/sigmf/sigmf_datatype.h"

namespace orvenda::sigmf {

std::optional<Datatype> parseDatatype(std::string_view text) {
    Datatype type;
    type.name = std::string(text);
    if (text.size() < 3 || (text[0] != 'r' && text[0] != 'c')) return std::nullopt;
    type.complex = text[0] == 'c';
    switch (text[1]) {
    case 'f': type.kind = ComponentKind::Float; break;
    case 'i': type.kind = ComponentKind::SignedInteger; break;
    case 'u': type.kind = ComponentKind::UnsignedInteger; break;
    default: return std::nullopt;
    }
    std::string_view rest = text.substr(2);
    if (rest == "8") {
        if (type.kind == ComponentKind::Float) return std::nullopt;
        type.bits = 8;
        return type;
    }
    if (rest.size() != 5 || rest[2] != '_') return std::nullopt;
    std::string_view width = rest.substr(0, 2);
    std::string_view order = rest.substr(3);
    if (order == "le")
        type.bigEndian = false;
    else if (order == "be")
        type.bigEndian = true;
    else
        return std::nullopt;
    if (width == "16")
        type.bits = 16;
    else if (width == "32")
        type.bits = 32;
    else if (width == "64")
        type.bits = 64;
    else
        return std::nullopt;
    // f32, f64, i32, i16, u32, u16: no f16, no 64-bit integers.
    if (type.kind == ComponentKind::Float ? type.bits == 16 : type.bits == 64) return std::nullopt;
    return type;
}

bool isEngineFloatLayout(const Datatype& type) {
    return type.complex && type.kind == ComponentKind::Float && type.bits == 32 && !type.bigEndian;
}

bool isEngineShortLayout(const Datatype& type) {
    return type.complex && type.kind == ComponentKind::SignedInteger && type.bits == 16 && !type.bigEndian;
}

}  // namespace orvenda::sigmf
