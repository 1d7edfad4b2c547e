#pragma once
// Overwrites memory that held a secret so that the compiler cannot drop the stores.
#include <cstddef>

class QString;

// Traced; for everyday use.
void WipeBytes(void* data, std::size_t length);

// Untraced; for destructors of process-wide state, which run at exit after the trace may be gone.
void WipeBytesAtExit(void* data, std::size_t length);

// Overwrites the text's own buffer with zeros, then empties it. A buffer shared with another holder is only
// let go of (that holder's copy stays); copies made earlier are not reached.
void secureWipe(QString& text);
