#pragma once

// How the command ends: its exit statuses, the one line it prints for a
// failure or a refusal, and the one way it writes a file while a signal may
// arrive.

#include <atomic>
#include <functional>
#include <string>

#include "cli/interrupt_handler.h"
#include "data/atomic_file.h"

namespace orbitograph {

// Exit statuses: 0 done; 1 a failure while running (memory, writing a file
// or standard output); 2 a refused command line or input file, with nothing
// written to stdout; 128 + signal when SIGINT or SIGTERM ended the run (see
// InterruptHandler).
inline constexpr int kFailed = 1;
inline constexpr int kRefused = 2;

inline constexpr const char* kProgram = "orbitograph-render";

// One line on standard error: "orbitograph-render: message".
void Complain(const std::string& message);

// Flushes standard output; a write or flush that failed is reported, with
// its reason.
bool StdoutWritten();

// Writes a file with write (an atomic writer that reads the stop flag it is
// given and may set why), after which a signal only raises the flag. The
// exit status: 0, kFailed when the write failed ("cannot write 'FILE':
// why"), or the signal's when it stopped ("interrupted; 'FILE' not
// written").
using FileWrite = std::function<SaveResult(const std::atomic<bool>* stop, std::string& why)>;
int WriteFileInterruptibly(const std::string& file, InterruptHandler& interrupt, const FileWrite& write);

}  // namespace orbitograph
