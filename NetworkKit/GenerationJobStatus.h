#pragma once

#include <array>
#include <utility>

enum class GenerationJobStatus { queued, processing, complete, failed };

constexpr std::array<std::pair<GenerationJobStatus, const char*>, 4> jsonRawValues(GenerationJobStatus) {
    return {{{GenerationJobStatus::queued, "queued"},
             {GenerationJobStatus::processing, "processing"},
             {GenerationJobStatus::complete, "complete"},
             {GenerationJobStatus::failed, "failed"}}};
}
