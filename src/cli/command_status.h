#pragma once

// How the command ends: its exit statuses, the one line it prints for a
// failure or a refusal, and the one way it writes a file while a signal may
// arrive.

#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "cli/interrupt_handler.h"
#include "data/atomic_file.h"

namespace orbitograph {

// Exit statuses: 0 done; 1 a failure while running (memory, writing a file
// or standard output); 2 a refused command line or input file, with nothing
// written to stdout; 128 + signal when a signal ended the run (see
// InterruptHandler).
inline constexpr int kFailed = 1;
inline constexpr int kRefused = 2;

inline constexpr const char* kProgram = "orbitograph-render";

// One line on standard error: "orbitograph-render: message".
void Complain(const std::string& message);

// Flushes standard output; a write or flush that failed is reported, with
// its reason.
bool StdoutWritten();

// The line a signal prints when it ends the command at once ("interrupted;
// what"), over any progress line on a terminal.
std::string InterruptedLine(const std::string& what);

// Back to ending at once on a signal, with the line saying what was written;
// a signal that came while a file was written ends the command now, with
// that line. The exit status: 0, or the signal's.
int EndAtOnceFromHere(InterruptHandler& interrupt, const std::string& what);

// One of the files a command writes together: its name, and its writer (an
// atomic writer that reads the stop flag, puts the finished file in the
// batch and may set why).
struct FileJob {
    std::string file;
    std::function<SaveResult(const std::atomic<bool>* stop, FileBatch* batch, std::string& why)> write;
};

// Writes the files as one: every target is checked before any is written,
// each is written beside its target, and only once all are complete are
// they put in place together. From the start a signal only raises the flag
// (the handler stays so). The exit status: 0; kFailed ("cannot write
// 'FILE': why", and which files are in place when a rename failed after
// others had succeeded, which only a change to the folder meanwhile can
// cause); or the signal's ("interrupted; 'FILE' not written"). written, when
// given, names what earlier writes left in place, for every such message.
int WriteFilesInterruptibly(const std::vector<FileJob>& files, InterruptHandler& interrupt,
                            const std::string& written = {});

}  // namespace orbitograph
