// Opens every PDF file it is given the way a reader would, each in a process of its own with a
// time limit, and reports what happened:
//   vesk-sweep [--timeout SECONDS] PATH...
// A PATH is a file or a folder, whose *.pdf files are taken in name order. Each file is
// opened, every page drawn at zoom 1 and every page's text read. One line per file: the
// result, the pages, seconds, peak resident MiB and the name; then a summary. The exit status
// is 1 when any file crashed or ran out of time, 2 on bad arguments.

#include "bench/common/NullTree.h"
#include "engine/PdfApi.h"
#include "platform/DeviceContext.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kTextCapacity = 1 << 20;

// What a child reports through its exit status.
enum ChildResult { kOpened = 0, kOpenFailed = 10, kPasswordNeeded = 11, kPageFailed = 12 };

struct Outcome {
    std::string result;
    int pages = 0;
    double seconds = 0;
    double peakMiB = 0;
    bool fault = false; // a crash or a hang: what the sweep exists to find
};

// Runs in the child: the exit status is the result, the page count goes through `pipeFd`.
[[noreturn]] void ReadDocument(const std::string &file, int pipeFd) {
    PDFHANDLE h = PdfCreate();
    PdfSetResourceDir(h, (fs::canonical("/proc/self/exe").parent_path() / "rc").c_str());
    CNullTree tree;
    const int opened = PdfOpen(h, file.c_str(), nullptr, &tree);
    const int pages = opened == 0 ? PdfGetPageCount(h) : 0;
    if (write(pipeFd, &pages, sizeof pages) != sizeof pages)
        std::_Exit(kPageFailed);
    if (opened != 0)
        std::_Exit(opened == -2 ? kPasswordNeeded : kOpenFailed);
    // No bitmap in the context: the engine's own render is what is measured, not a copy.
    platform::DeviceContext dc;
    std::vector<char16_t> text(kTextCapacity);
    bool allDrawn = true;
    for (int p = 1; p <= pages; ++p) {
        PdfSetRedraw(h, 1);
        allDrawn &= PdfDrawPage(h, &dc, p, 0, 0) == 0;
        int length = 0;
        PdfGetRectText(h, p, -1e6, -1e6, 1e6, 1e6, text.data(), &length, kTextCapacity);
    }
    PdfDestroy(h);
    std::_Exit(allDrawn ? kOpened : kPageFailed);
}

std::string Describe(int status, bool timedOut, bool *fault) {
    *fault = timedOut || WIFSIGNALED(status);
    if (timedOut)
        return "timeout";
    if (WIFSIGNALED(status))
        return std::string("crash:") + strsignal(WTERMSIG(status));
    switch (WEXITSTATUS(status)) {
    case kOpened:
        return "ok";
    case kOpenFailed:
        return "open-failed";
    case kPasswordNeeded:
        return "password";
    case kPageFailed:
        return "page-failed";
    default:
        *fault = true;
        return "exit:" + std::to_string(WEXITSTATUS(status));
    }
}

Outcome Sweep(const std::string &file, double timeoutSeconds) {
    Outcome outcome;
    int fds[2];
    if (pipe(fds) != 0) {
        outcome.result = "no-pipe";
        outcome.fault = true;
        return outcome;
    }
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        ReadDocument(file, fds[1]);
    }
    close(fds[1]);
    int status = 0;
    rusage usage{};
    bool timedOut = false;
    while (wait4(pid, &status, WNOHANG, &usage) == 0) {
        const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - start;
        if (spent.count() > timeoutSeconds && !timedOut) {
            timedOut = true;
            kill(pid, SIGKILL);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    outcome.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (read(fds[0], &outcome.pages, sizeof outcome.pages) != sizeof outcome.pages)
        outcome.pages = 0;
    close(fds[0]);
    outcome.peakMiB = usage.ru_maxrss / 1024.0;
    outcome.result = Describe(status, timedOut, &outcome.fault);
    return outcome;
}

std::vector<std::string> FilesOf(const std::string &path) {
    std::vector<std::string> files;
    std::error_code ec;
    if (!fs::is_directory(path, ec)) {
        files.push_back(path);
        return files;
    }
    for (const auto &entry : fs::directory_iterator(path, ec)) {
        std::string ext = entry.path().extension().string();
        std::transform(ext.begin(), ext.end(), ext.begin(), ::tolower);
        if (entry.is_regular_file(ec) && ext == ".pdf")
            files.push_back(entry.path().string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace

int main(int argc, char **argv) {
    double timeoutSeconds = 60;
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--timeout") == 0 && i + 1 < argc) {
            timeoutSeconds = std::atof(argv[++i]);
        } else {
            const std::vector<std::string> found = FilesOf(argv[i]);
            files.insert(files.end(), found.begin(), found.end());
        }
    }
    if (files.empty() || !(timeoutSeconds > 0)) {
        std::fprintf(stderr, "usage: %s [--timeout SECONDS] FILE|FOLDER...\n", argv[0]);
        return 2;
    }
    std::map<std::string, int> counts;
    int faults = 0, pages = 0;
    double seconds = 0, peakMiB = 0;
    std::printf("%-16s %6s %9s %9s  %s\n", "result", "pages", "seconds", "peak-MiB", "file");
    for (const std::string &file : files) {
        const Outcome o = Sweep(file, timeoutSeconds);
        std::printf("%-16s %6d %9.3f %9.1f  %s\n", o.result.c_str(), o.pages, o.seconds, o.peakMiB,
                    fs::path(file).filename().c_str());
        std::fflush(stdout);
        ++counts[o.result];
        faults += o.fault;
        pages += o.pages;
        seconds += o.seconds;
        peakMiB = std::max(peakMiB, o.peakMiB);
    }
    std::printf("summary: %zu files, %d pages, %.1f s, largest peak %.1f MiB;", files.size(), pages,
                seconds, peakMiB);
    for (const auto &[result, n] : counts)
        std::printf(" %s %d", result.c_str(), n);
    std::printf("; %d crashed or timed out\n", faults);
    return faults ? 1 : 0;
}
