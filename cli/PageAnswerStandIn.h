#pragma once
// A stand-in for the batch mode's answer to a request given as its parts,
// until cli/Batch.h declares it; then this file and its .cpp go.

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "cli/Pages.h"

namespace vesk::cli {

// Appends the answer line, with its line break, that the batch mode gives a
// request of `page` with these fields (the first kMaxPageFields of
// `fieldCount`), options and the raw JSON text `id` (none when empty).
// Raises std::bad_alloc.
void AppendPageAnswer(std::string& out, std::string_view page, std::span<const std::string_view> fields,
                      std::size_t fieldCount, const PageOptions& options, std::string_view id);

}  // namespace vesk::cli
