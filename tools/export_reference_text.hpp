#pragma once
// The prose of EXPORTS.md that belongs to no single export: the calling
// convention, the main call sequences and what each section has in common.

#include "host/export_table.hpp"

namespace ostrel::reference::text {

extern const char* const kIntroduction;
extern const char* const kCallSequences;
const char* topicIntroduction(exports::Topic topic);

}  // namespace ostrel::reference::text
