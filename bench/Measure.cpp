// Measures the installer against its baselines and prints one line per figure on stdout:
//   <measure> <subject> <median> <min> <max> <runs>
// scripts/bench runs it for each build and turns the lines into a table. Progress and any
// failed run go to stderr; a failed run is counted and left out of the figures.
//
//   tarvo_bench.exe [start-up runs] [install runs]
#include "platform/ComScope.h"
#include "platform/Text.h"
#include "support/CompilerFolder.h"
#include "support/FolderBrowser.h"
#include "support/Processes.h"
#include "support/TempFolder.h"

#include <windows.h>
#include <psapi.h>
#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

namespace {

constexpr char kInstallerCaption[] = "By Quelnar";
constexpr char kBaselineCaption[] = TARVO_BENCH_BASELINE_CAPTION;
constexpr char kReferenceCaption[] = TARVO_BENCH_REFERENCE_CAPTION;
constexpr char kArch[] = TARVO_ARCH_NAME;

double NowMs() {
    static const double ticksPerMs = [] {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        return static_cast<double>(frequency.QuadPart) / 1000.0;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / ticksPerMs;
}

// The support library's WaitForWindow sleeps 20 ms between looks, coarser than what is timed.
HWND PollForWindow(const std::function<HWND()>& find, DWORD timeoutMs) {
    const double end = NowMs() + timeoutMs;
    for (;;) {
        if (HWND window = find()) return window;
        if (NowMs() > end) return nullptr;
        Sleep(1);
    }
}

struct Samples {
    std::vector<double> values;
    int failed = 0;

    double Median() const {
        std::vector<double> sorted = values;
        std::sort(sorted.begin(), sorted.end());
        size_t n = sorted.size();
        if (n == 0) return 0;
        return n % 2 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
    }
};

void PrintRow(const char* measure, const char* subject, const Samples& samples) {
    if (samples.values.empty()) {
        std::printf("%s %s - - - 0\n", measure, subject);
    } else {
        auto [low, high] = std::minmax_element(samples.values.begin(), samples.values.end());
        std::printf("%s %s %.1f %.1f %.1f %zu\n", measure, subject, samples.Median(), *low, *high,
                    samples.values.size());
    }
    if (samples.failed) std::printf("failed %s_%s %d\n", measure, subject, samples.failed);
    std::fflush(stdout);
}

void Progress(const char* format, ...) __attribute__((format(printf, 1, 2)));
void Progress(const char* format, ...) {
    std::fprintf(stderr, "[bench %s] ", kArch);
    va_list arguments;
    va_start(arguments, format);
    std::vfprintf(stderr, format, arguments);
    va_end(arguments);
    std::fputc('\n', stderr);
}

// ---- Start-up and memory ------------------------------------------------------------------

struct StartOutcome {
    bool shown = false;
    double ms = 0;
    double peakKiB = 0;
};

double PeakWorkingSetKiB(DWORD processId) {
    UniqueHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!process || !GetProcessMemoryInfo(process.get(), &counters, sizeof counters)) return 0;
    return static_cast<double>(counters.PeakWorkingSetSize) / 1024.0;
}

// From process creation until the window captioned `caption` is there and visible; then,
// with the window shown and painted, the process's peak working set.
StartOutcome StartAndShow(const std::string& exe, const char* caption) {
    StartOutcome outcome;
    const double start = NowMs();
    InstallerProcess app(exe);  // CreateProcess, then WaitForInputIdle
    if (!app.Started()) return outcome;
    HWND window = PollForWindow([&] { return FindProcessWindow(app.Id(), nullptr, caption); }, 30000);
    outcome.ms = NowMs() - start;
    outcome.shown = window != nullptr;
    if (window) {
        WaitForInputIdle(app.Handle(), 5000);
        Sleep(300);  // the first paint and whatever the program does once idle
        outcome.peakKiB = PeakWorkingSetKiB(app.Id());
        PostMessageA(window, WM_CLOSE, 0, 0);
    }
    if (app.WaitForExit(10000) == STILL_ACTIVE) app.Close();
    return outcome;
}

void MeasureStartUp(int runs) {
    struct Program {
        const char* subject;
        std::string exe;
        const char* caption;
        Samples ms, kib;
        StartOutcome last;
    };
    std::vector<Program> programs = {
        {"installer", InstallerPath(), kInstallerCaption, {}, {}, {}},
        {"baseline", TARVO_BENCH_BASELINE_PATH, kBaselineCaption, {}, {}, {}},
        {"reference", TARVO_BENCH_REFERENCE_PATH, kReferenceCaption, {}, {}, {}},
    };
#ifdef TARVO_BENCH_PEER_PATH
    // The NSIS peer, until its first page (the directory page) is shown.
    programs.push_back({"peer", TARVO_BENCH_PEER_PATH, TARVO_BENCH_PEER_CAPTION, {}, {}, {}});
#endif
    // The proposal the installer reads at start-up, as on a machine with the compiler.
    CompilerFolder compiler;
    RecordedCompiler recorded(compiler.Path());

    // Untimed: the first start of each program pays for reading its DLLs from disk.
    for (Program& program : programs) StartAndShow(program.exe, program.caption);

    for (int run = 1; run <= runs; ++run) {
        // Interleaved, so drifting load on the machine weighs on all alike.
        for (Program& program : programs) {
            program.last = StartAndShow(program.exe, program.caption);
            if (!program.last.shown) {
                ++program.ms.failed;
                continue;
            }
            program.ms.values.push_back(program.last.ms);
            if (program.last.peakKiB > 0) {
                program.kib.values.push_back(program.last.peakKiB);
            } else {
                ++program.kib.failed;
            }
        }
        std::string line;
        for (const Program& program : programs) {
            char figures[96];
            std::snprintf(figures, sizeof figures, "%s%s %.0f ms %.0f KiB", line.empty() ? "" : ", ", program.subject,
                          program.last.ms, program.last.peakKiB);
            line += figures;
        }
        Progress("start-up %d/%d: %s", run, runs, line.c_str());
    }
    for (const Program& program : programs) PrintRow("startup", program.subject, program.ms);
    for (const Program& program : programs) PrintRow("memory", program.subject, program.kib);
}

// ---- Install ------------------------------------------------------------------------------

bool HoldsPayloads(const CompilerFolder& compiler, const std::vector<unsigned char>& library,
                   const std::vector<unsigned char>& help) {
    return ReadBytes(compiler.Library()) == library && ReadBytes(compiler.Help()) == help;
}

// From OK in the folder browser to the completion message; -1 when the install did not end
// in it with both files in place.
double TimeInstall(const CompilerFolder& compiler, const std::vector<unsigned char>& library,
                   const std::vector<unsigned char>& help) {
    InstallerProcess app;
    if (!app.MainWindow()) {
        Progress("install: no main window");
        return -1;
    }
    HWND browser = app.OpenBrowser(1, [&](HWND browser) { return app.SelectFolder(browser, compiler.Path()); });
    if (!browser) {
        Progress("install: the browser did not reach %s", compiler.Path().c_str());
        return -1;
    }
    const double start = NowMs();
    PressDialogButton(browser, IDOK);
    HWND box = PollForWindow([&] { return app.FindMessageBox(); }, 30000);
    const double elapsed = NowMs() - start;
    if (!box) {
        Progress("install: no message after OK");
        return -1;
    }
    MessageBoxContent shown = ReadMessageBox(box);
    app.Dismiss(box, IDOK);
    if (shown.caption != L"ok !" || !HoldsPayloads(compiler, library, help)) {
        Progress("install: \"%s\": %s", InWindows1252(shown.caption).c_str(), InWindows1252(shown.text).c_str());
        return -1;
    }
    return elapsed;
}

// The same bytes into the same places with the plainest call there is.
double TimeCopy(const CompilerFolder& compiler, const std::vector<unsigned char>& library,
                const std::vector<unsigned char>& help) {
    DeleteFileA(compiler.Library().c_str());
    DeleteFileA(compiler.Help().c_str());
    const double start = NowMs();
    bool copied = CopyFileA(TARVO_LIBRARY_PAYLOAD_PATH, compiler.Library().c_str(), FALSE) &&
                  CopyFileA(TARVO_HELP_PAYLOAD_PATH, compiler.Help().c_str(), FALSE);
    const double elapsed = NowMs() - start;
    if (!copied || !HoldsPayloads(compiler, library, help)) {
        Progress("copy: failed (%lu)", GetLastError());
        return -1;
    }
    return elapsed;
}

// What no installer can avoid between OK and its message: the browser closing and a message
// box opening. This process shows both with no file in between and times them the same way;
// like the installer it asks for Common Controls 6 (Measure.rc), but it has no owner window, so
// the figure is near the installer's, not equal.
double TimeDialogsAlone(const CompilerFolder& compiler) {
    const std::string folder = compiler.Path();
    const std::wstring leaf = text::FromAnsi(compiler.Leaf());
    std::thread dialogs([&] {
        ComScope com;
        if (UniquePidl chosen = BrowseForFolder("Purebasic se trouve bien ici ?", BIF_EDITBOX | BIF_NEWDIALOGSTYLE, folder)) {
            char path[MAX_PATH] = {};
            SHGetPathFromIDListA(chosen.get(), path);
        }
        MessageBoxA(nullptr, "l'installation est termin\xE9", "ok !", MB_OK);
    });
    const DWORD selfId = GetCurrentProcessId();
    const HANDLE self = GetCurrentProcess();
    double elapsed = -1;
    HWND browser = PollForWindow(
        [&]() -> HWND {
            HWND dialog = FindProcessWindow(selfId, "#32770", nullptr);
            return dialog && FindWindowExA(dialog, nullptr, "SysTreeView32", nullptr) ? dialog : nullptr;
        },
        20000);
    if (browser && WaitForWindow([&]() -> HWND { return BrowserSelection(self, browser) == leaf ? browser : nullptr; },
                                 10000)) {
        const double start = NowMs();
        PressDialogButton(browser, IDOK);
        HWND box = PollForWindow(
            [&]() -> HWND {
                HWND dialog = FindProcessWindow(selfId, "#32770", nullptr);
                return dialog && GetDlgItem(dialog, 0xFFFF) ? dialog : nullptr;
            },
            30000);
        if (box) elapsed = NowMs() - start;
    } else {
        Progress("dialogs alone: the browser did not reach %s", folder.c_str());
        if (browser) PressDialogButton(browser, IDCANCEL);
    }
    // Whatever is still open goes, so the thread ends.
    for (int round = 0; round < 50; ++round) {
        HWND dialog = PollForWindow([&] { return FindProcessWindow(selfId, "#32770", nullptr); }, 200);
        if (!dialog) break;
        PressDialogButton(dialog, GetDlgItem(dialog, IDOK) && GetDlgItem(dialog, 0xFFFF) ? IDOK : IDCANCEL);
        Sleep(50);
    }
    dialogs.join();
    return elapsed;
}

void MeasureInstall(int runs) {
    const std::vector<unsigned char> library = ReadBytes(TARVO_LIBRARY_PAYLOAD_PATH);
    const std::vector<unsigned char> help = ReadBytes(TARVO_HELP_PAYLOAD_PATH);
    WarmUpFolderBrowser();

    Samples installMs, copyMs, dialogsMs;
    for (int run = 1; run <= runs; ++run) {
        CompilerFolder compiler;  // fresh each round: both write new files, not replacements
        RecordedCompiler recorded(compiler.Path());
        double a = TimeInstall(compiler, library, help);
        double b = a >= 0 ? TimeCopy(compiler, library, help) : -1;
        double c = TimeDialogsAlone(compiler);
        for (auto [value, samples] : {std::pair{a, &installMs}, std::pair{b, &copyMs}, std::pair{c, &dialogsMs}}) {
            if (value >= 0) {
                samples->values.push_back(value);
            } else {
                ++samples->failed;
            }
        }
        Progress("install %d/%d: installer %.1f ms, copy %.1f ms, dialogs alone %.1f ms", run, runs, a, b, c);
    }
    PrintRow("install", "installer", installMs);
    PrintRow("install", "copy", copyMs);
    PrintRow("install", "dialogs", dialogsMs);
}

int Count(const char* text, int fallback) {
    int value = text ? std::atoi(text) : 0;
    return value > 0 ? value : fallback;
}

}  // namespace

int main(int argc, char** argv) {
    const int startRuns = Count(argc > 1 ? argv[1] : nullptr, 21);
    const int installRuns = Count(argc > 2 ? argv[2] : nullptr, 11);
    std::printf("arch %s\n", kArch);
    MeasureStartUp(startRuns);
    MeasureInstall(installRuns);
    return 0;
}
