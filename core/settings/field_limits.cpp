#include "core/settings/field_limits.h"

#include "core/settings/text_conversions.h"

namespace orvenda::settings {

std::string limitText(double limit) { return generalNumberText(limit); }

std::string limitsText(const FieldLimits& limits) { return limitText(limits.low) + " to " + limitText(limits.high); }

}  // namespace orvenda::settings
