// Best-of-N timing for the Windows benchmark programs: CPU time of the process (user plus
// kernel) and wall-clock time, each repetition long enough for the clock's ticks.
#pragma once

#include <windows.h>

#include <cstdio>

namespace zv::bench {

struct Figure {
  double cpuMs = 0;
  double wallMs = 0;
};

inline double CpuMs() {
  FILETIME created, exited, kernel, user;
  ::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user);
  auto ms = [](FILETIME t) {
    return static_cast<double>(static_cast<ULONGLONG>(t.dwHighDateTime) << 32 | t.dwLowDateTime) /
           1e4;
  };
  return ms(kernel) + ms(user);
}

inline double WallMs() {
  LARGE_INTEGER now, frequency;
  ::QueryPerformanceCounter(&now);
  ::QueryPerformanceFrequency(&frequency);
  return static_cast<double>(now.QuadPart) * 1e3 / static_cast<double>(frequency.QuadPart);
}

// The best of `repetitions` of `run`, each repetition calling it until at least `minMs` of wall
// time have passed, divided by its calls.
template <typename F>
Figure Best(int repetitions, double minMs, F&& run) {
  Figure best{1e300, 1e300};
  for (int r = 0; r < repetitions; ++r) {
    const double cpu0 = CpuMs(), wall0 = WallMs();
    int calls = 0;
    do {
      run();
      ++calls;
    } while (WallMs() - wall0 < minMs);
    const double cpu = (CpuMs() - cpu0) / calls, wall = (WallMs() - wall0) / calls;
    if (cpu < best.cpuMs) best.cpuMs = cpu;
    if (wall < best.wallMs) best.wallMs = wall;
  }
  return best;
}

inline void Print(const char* name, Figure f) {
  std::printf("%s %.3f %.3f\n", name, f.cpuMs, f.wallMs);
  std::fflush(stdout);
}

}  // namespace zv::bench
