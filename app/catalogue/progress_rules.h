// The text of the progress line: what is being done and how far it is.
#pragma once

#include <cstdint>

#include "runtime/core/string_value.h"

// n with a comma between groups of three digits: "3,000".
StringValue GroupedNumber(std::int32_t n);
// "Sorting: 1,200 of 3,000 plugins" ("plugin" for a total of one).
StringValue ProgressText(const StringValue &doing, std::int32_t done, std::int32_t total);
