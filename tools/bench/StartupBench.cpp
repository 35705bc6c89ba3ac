// Time from process start to the first presented frame: the engine's start-up next to a bare SDL
// program, alternately in the same run. Run under X (e.g. Xvfb):
//   bench_startup <bench_startup_engine> <bench_startup_sdl> [runs]
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

extern char** environ;

namespace {

// Milliseconds from the spawn to the child's "presented" line; negative when it never came.
double TimeToFirstFrame(const char* program) {
  int pipeFds[2];
  if (pipe(pipeFds) != 0) return -1.0;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 1);
  posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
  char* argv[] = {const_cast<char*>(program), nullptr};
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, program, &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  close(pipeFds[1]);
  double elapsed = -1.0;
  if (spawned == 0) {
    std::string text;
    char buffer[256];
    ssize_t got = 0;
    while ((got = read(pipeFds[0], buffer, sizeof buffer)) > 0) {
      text.append(buffer, static_cast<size_t>(got));
      if (text.find("presented\n") != std::string::npos) {
        elapsed = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        break;
      }
    }
    int status = 0;
    waitpid(pid, &status, 0);
  }
  close(pipeFds[0]);
  return elapsed;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0.0 : values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s <engine program> <sdl program> [runs]\n", argv[0]);
    return 2;
  }
  const int runs = argc > 3 ? std::atoi(argv[3]) : 10;
  std::vector<double> engine;
  std::vector<double> sdl;
  for (int i = 0; i < runs; ++i) {
    const double e = TimeToFirstFrame(argv[1]);
    const double s = TimeToFirstFrame(argv[2]);
    if (e < 0 || s < 0) {
      std::fprintf(stderr, "a program did not present a frame\n");
      return 1;
    }
    engine.push_back(e);
    sdl.push_back(s);
  }
  std::printf("first presented frame, median of %d runs: engine %.1f ms, bare SDL GL 3.3 %.1f ms (%.2fx)\n", runs,
              Median(engine), Median(sdl), Median(engine) / Median(sdl));
  return 0;
}
