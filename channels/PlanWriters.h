// Writing a channel plan as text for people, CSV or JSON; the C header has a
// module of its own, PlanHeader.
#pragma once

#include <string_view>
#include <vector>

#include "channels/Plan.h"
#include "channels/Sink.h"

namespace channels {

/// The output formats, each writing the whole plan. `inputs` is the line
/// naming ZF, TX-ZF, raster, band and charge-pump bit; `inputsJson` the same
/// as JSON members.
void WritePlanText(const std::vector<PlannedChannel>& plan, std::string_view inputs, Sink& out);
void WritePlanCsv(const std::vector<PlannedChannel>& plan, Sink& out);
void WritePlanJson(const std::vector<PlannedChannel>& plan, std::string_view inputsJson, Sink& out);

/// `text` as a C string literal: printable ASCII as it is, except that
/// quotes, backslashes and question marks (trigraphs) are escaped; every
/// other byte as a three-digit octal escape.
void PutCString(Sink& out, std::string_view text);

}  // namespace channels
