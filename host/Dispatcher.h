// The dispatcher behind plugMain: one switch over the function codes, deciding
// who answers (descriptor, prototype, named instance or thumbnail) and turning
// the answer into the 64-bit result.
#pragma once

#include <cstdint>

namespace qvx {

// Answers one request. May throw (out of memory inside a factory or an
// instance operation); plugMain turns that into the code's failure answer.
uint64_t Dispatch(uint32_t functionCode, uint64_t input, void* instance);

// The answer a code gives when it cannot answer: null for the codes that
// answer addresses or null (0, 5, 33, 35, 44), 0 for code 47, otherwise 0xFFFFFFFF.
uint64_t FailureAnswer(uint32_t functionCode);

}  // namespace qvx
