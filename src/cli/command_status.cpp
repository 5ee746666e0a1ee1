#include "cli/command_status.h"

#include <cerrno>
#include <cstdio>
#include <system_error>

#include "request/refusal_text.h"

namespace orbitograph {

void Complain(const std::string& message) { std::fprintf(stderr, "%s: %s\n", kProgram, message.c_str()); }

bool StdoutWritten() {
    // A write that failed already left its reason in errno; otherwise errno
    // is stale.
    if (!std::ferror(stdout)) errno = 0;
    const bool flushed = std::fflush(stdout) == 0;
    if (flushed && !std::ferror(stdout)) return true;
    const int error = errno;
    Complain("cannot write to standard output" + (error != 0 ? ": " + std::system_category().message(error) : ""));
    return false;
}

int WriteFileInterruptibly(const std::string& file, InterruptHandler& interrupt, const FileWrite& write) {
    // From here a signal only raises the flag: the writer stops within a
    // row and removes its temporary file before the command exits.
    interrupt.WriteFile(true);
    std::string why;
    const SaveResult saved = write(&interrupt.Flag(), why);
    if (saved.failure == SaveFailure::Stopped) {
        Complain("interrupted; " + Quoted(file) + " not written");
        return interrupt.ExitStatus();
    }
    if (!saved.Ok()) {
        Complain("cannot write " + Quoted(file) + ": " + (why.empty() ? SaveFailureText(saved) : why));
        return kFailed;
    }
    return 0;
}

}  // namespace orbitograph
