#include "cli/command_status.h"

#include <unistd.h>
#include <cerrno>

#include <cstdio>
#include <new>
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

std::string InterruptedLine(const std::string& what) {
    return std::string(isatty(STDERR_FILENO) ? "\r\033[K" : "") + kProgram + ": interrupted; " + what + "\n";
}

int EndAtOnceFromHere(InterruptHandler& interrupt, const std::string& what) {
    const std::string line = InterruptedLine(what);
    interrupt.SetLine(line);
    interrupt.WriteFile(false);
    if (!interrupt.Interrupted()) return 0;
    std::fputs(line.c_str(), stderr);
    return interrupt.ExitStatus();
}

namespace {

// 'a', 'a' and 'b', or 'a', 'b' and 'c'.
std::string Names(const std::vector<FileJob>& files, std::size_t from, std::size_t to) {
    std::string names;
    for (std::size_t i = from; i < to; ++i) {
        if (i > from) names += i + 1 == to ? " and " : ", ";
        names += Quoted(files[i].file);
    }
    return names;
}

std::string Failure(const SaveResult& saved, const std::string& why) {
    return why.empty() ? SaveFailureText(saved) : why;
}

int Stage(const std::vector<FileJob>& files, InterruptHandler& interrupt, FileBatch& batch, const std::string& also) {
    const std::string nothing = (files.size() > 1 ? "; nothing written" : "") + also;
    for (const FileJob& job : files) {
        if (const SaveResult checked = CheckTarget(job.file); !checked.Ok()) {
            Complain("cannot write " + Quoted(job.file) + ": " + SaveFailureText(checked) + nothing);
            return kFailed;
        }
    }
    for (const FileJob& job : files) {
        std::string why;
        const SaveResult saved = job.write(&interrupt.Flag(), &batch, why);
        if (saved.failure == SaveFailure::Stopped || interrupt.Interrupted()) break;
        if (!saved.Ok()) {
            Complain("cannot write " + Quoted(job.file) + ": " + Failure(saved, why) + nothing);
            return kFailed;
        }
    }
    if (interrupt.Interrupted()) {
        Complain("interrupted; " + Names(files, 0, files.size()) + " not written" + also);
        return interrupt.ExitStatus();
    }
    return 0;
}

}  // namespace

int WriteFilesInterruptibly(const std::vector<FileJob>& files, InterruptHandler& interrupt,
                            const std::string& written) {
    const std::string also = written.empty() ? "" : "; " + written;
    // From here a signal only raises the flag: the writers stop within a
    // few milliseconds' work and remove their temporary files.
    interrupt.WriteFile(true);
    try {
        FileBatch batch;
        if (const int status = Stage(files, interrupt, batch, also); status != 0) return status;
        std::size_t committed = 0;
        if (const SaveResult r = batch.Commit(committed); !r.Ok()) {
            Complain("cannot write " + Quoted(files[committed].file) + ": " + SaveFailureText(r) +
                     (committed > 0 ? "; " + Names(files, 0, committed) + " written" : "") + also);
            return kFailed;
        }
    } catch (const std::bad_alloc&) {
        Complain("not enough memory to write " + Names(files, 0, files.size()) + "; nothing written" + also);
        return kFailed;
    }
    return 0;
}

}  // namespace orbitograph
