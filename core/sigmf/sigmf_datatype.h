// The sample datatypes of SigMF recordings ("cf32_le", "ci8", ...): the
// grammar, strictly, and what the converter needs to know of each.
#ifndef ORVENDA_CORE_SIGMF_SIGMF_DATATYPE_H
#define ORVENDA_CORE_SIGMF_SIGMF_DATATYPE_H

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace orvenda::sigmf {

enum class ComponentKind { Float, SignedInteger, UnsignedInteger };

struct Datatype {
    std::string name;  // as written, e.g. "ci16_le"
    bool complex = true;
    ComponentKind kind = ComponentKind::Float;
    int bits = 32;  // per component: 8, 16, 32 or 64
    bool bigEndian = false;

    std::size_t componentBytes() const { return static_cast<std::size_t>(bits / 8); }
    // One sample of one channel: I and Q for a complex type.
    std::size_t sampleBytes() const { return componentBytes() * (complex ? 2 : 1); }
};

// Nothing for a text outside the grammar: (r|c) then f32, f64, i32, i16,
// u32 or u16 with _le or _be, or i8 or u8 without an ending.
std::optional<Datatype> parseDatatype(std::string_view text);

// The datatypes that are handed to the engine as they are.
bool isEngineFloatLayout(const Datatype& type);  // cf32_le
bool isEngineShortLayout(const Datatype& type);  // ci16_le

}  // namespace orvenda::sigmf

#endif
