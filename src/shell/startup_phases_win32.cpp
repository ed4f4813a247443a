#include "shell/startup_phases_win32.h"

#include <windows.h>

#include <cstdio>

namespace quiz {

namespace {

constexpr int kPhases = static_cast<int>(StartupPhase::kCount);
long long g_ticks[kPhases] = {};
int g_counts[kPhases] = {};
long long g_begun = 0;
long long g_shown = 0;
bool g_reported = false;

long long Now() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

const char* const kNames[kPhases] = {
    "package load", "puzzle decode", "control creation", "picture copies",
    "restored answer checks", "  score, code, hide-found and scroll passes",
    "  found questions' marked pictures", "first paint",
    "the windows built (the phases above but the paint)",
};

}  // namespace

PhaseTimer::PhaseTimer(StartupPhase phase) : phase_(phase), start_(Now()) {}

PhaseTimer::~PhaseTimer() {
    if (g_reported) return;  // only start-up is measured
    g_ticks[static_cast<int>(phase_)] += Now() - start_;
    ++g_counts[static_cast<int>(phase_)];
}

void MarkStartupBegun() { g_begun = Now(); }

void MarkWindowsShown() {
    g_shown = Now();
    if (!g_begun) return;
    g_ticks[static_cast<int>(StartupPhase::kWindowsBuilt)] = g_shown - g_begun;
    g_counts[static_cast<int>(StartupPhase::kWindowsBuilt)] = 1;
}

void ReportStartupPhases() {
    if (g_reported) return;
    g_reported = true;
    const int first = static_cast<int>(StartupPhase::kFirstPaint);
    if (g_shown) {
        g_ticks[first] = Now() - g_shown;
        g_counts[first] = 1;
    }
    char path[MAX_PATH];
    const DWORD length = GetEnvironmentVariableA("QUIZ_STARTUP_PHASES", path, sizeof path);
    if (length == 0 || length >= sizeof path) return;
    FILE* file = std::fopen(path, "a");
    if (!file) return;
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    const auto value = [](const FILETIME& t) {
        return (static_cast<long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    for (int i = 0; i < kPhases; ++i)
        std::fprintf(file, "%s\t%.1f\t%d\n", kNames[i], 1000.0 * g_ticks[i] / frequency.QuadPart,
                     g_counts[i]);
    const double total = (value(now) - value(created)) / 10000.0;
    // Two clocks: the process's creation time is only known in file time.
    const double inPlayer = g_begun ? 1000.0 * (Now() - g_begun) / frequency.QuadPart : 0;
    std::fprintf(file, "process start to the player's first step\t%.1f\t1\n", total - inPlayer);
    std::fprintf(file, "process start to first idle\t%.1f\t1\n", total);
    std::fclose(file);
}

}  // namespace quiz
