#pragma once
// Overwrites memory that held a secret so that the compiler cannot drop the stores.
#include <cstddef>

// Traced; for everyday use.
void WipeBytes(void* data, std::size_t length);

// Untraced; for destructors of process-wide state, which run at exit after the trace may be gone.
void WipeBytesAtExit(void* data, std::size_t length);
