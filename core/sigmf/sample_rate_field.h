// A recording's core:sample_rate as the "Sampling Freq" field takes it: the
// field's text in MHz, or why the field is left as it was.
#ifndef ORVENDA_CORE_SIGMF_SAMPLE_RATE_FIELD_H
#define ORVENDA_CORE_SIGMF_SAMPLE_RATE_FIELD_H

#include <string>
#include <variant>

namespace orvenda::sigmf {

struct FieldText {
    std::string text;  // as the field shows it after Enter, e.g. "61.440000000000"
};
struct FieldLeft {
    std::string message;  // says the rate and the field's limits
};

// `rateHz` from the recording; `source` names the file in the message.
std::variant<FieldText, FieldLeft> samplingFrequencyField(double rateHz, const std::string& source);

}  // namespace orvenda::sigmf

#endif
