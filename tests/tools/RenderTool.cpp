// SPDX-License-Identifier: GPL-3.0-or-later
#include "RenderTool.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace render_test {
namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// One folder per test process, removed when the process ends.
struct TempFolder {
  std::string path;
  TempFolder() {
    const char* dir = std::getenv("TMPDIR");
    path = std::string(dir != nullptr ? dir : "/tmp") + "/tickora-render-test-" +
           std::to_string(getpid());
    mkdir(path.c_str(), 0777);
  }
  ~TempFolder() { std::system(("rm -rf '" + path + "'").c_str()); }
};

std::string TempRoot() {
  static TempFolder folder;
  return folder.path;
}

}  // namespace

ToolRun Run(const std::string& program, const std::vector<std::string>& args,
            const std::vector<std::string>& env, int timeoutSeconds) {
  static int runs = 0;
  const std::string base = TempRoot() + "/run-" + std::to_string(++runs);
  const std::string outPath = base + ".out", errPath = base + ".err";

  std::vector<std::string> environment;
  for (char** e = environ; *e != nullptr; ++e) environment.emplace_back(*e);
  for (const std::string& change : env) {
    const bool remove = change[0] == '-';
    const std::string name = remove ? change.substr(1) : change.substr(0, change.find('='));
    for (auto it = environment.begin(); it != environment.end();)
      it = it->compare(0, name.size() + 1, name + "=") == 0 ? environment.erase(it) : it + 1;
    if (!remove) environment.push_back(change);
  }
  std::vector<char*> envp, argv;
  for (std::string& e : environment) envp.push_back(&e[0]);
  envp.push_back(nullptr);
  std::vector<std::string> all{program};
  all.insert(all.end(), args.begin(), args.end());
  for (std::string& a : all) argv.push_back(&a[0]);
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  pid_t pid = 0;
  ToolRun run;
  const int spawned = posix_spawnp(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) {
    run.err = std::string("cannot start ") + program + ": " + std::strerror(spawned);
    return run;
  }
  int status = 0;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
  while (waitpid(pid, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  run.out = ReadFile(outPath);
  run.err = ReadFile(errPath);
  unlink(outPath.c_str());
  unlink(errPath.c_str());
  return run;
}

std::string RenderBinary() {
  const char* path = std::getenv("TICKORA_RENDER");
  return path != nullptr ? path : "tickora-render";
}

std::string PluginPath() {
  const char* path = std::getenv("TICKORA_PLUGIN");
  return path != nullptr ? path : "";
}

ToolRun RunRender(const std::vector<std::string>& args, const std::vector<std::string>& env) {
  return Run(RenderBinary(), args, env);
}

std::vector<std::string> FrozenClock() { return FrozenClockAt("2026-12-08 10:09:59.5"); }

std::vector<std::string> FrozenClockAt(const std::string& moment) {
  // In sanitizer builds libfaketime comes before the ASan runtime; the
  // options the test runs with (Mesa's threads need some) are kept.
  const char* options = std::getenv("ASAN_OPTIONS");
  std::string asan = options != nullptr && *options != '\0' ? std::string(options) + ":" : "";
  asan += "verify_asan_link_order=0";
  return {std::string("LD_PRELOAD=") + TICKORA_FAKETIME_LIBRARY,
          "FAKETIME=" + moment, "FAKETIME_DONT_FAKE_MONOTONIC=1", "TZ=UTC", "ASAN_OPTIONS=" + asan};
}

std::string MakeTempFolder(const std::string& name) {
  const std::string folder = TempRoot() + "/" + name;
  std::system(("rm -rf '" + folder + "'").c_str());
  mkdir(folder.c_str(), 0777);
  return folder;
}

std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> names;
  if (DIR* dir = opendir(folder.c_str())) {
    while (dirent* entry = readdir(dir))
      if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
        names.emplace_back(entry->d_name);
    closedir(dir);
  }
  std::sort(names.begin(), names.end());
  return names;
}

bool Exists(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0;
}

juce::Image LoadPng(const std::string& path) {
  juce::File file(path);
  juce::FileInputStream in(file);
  if (!in.openedOk()) return {};
  juce::PNGImageFormat png;
  return png.decodeImage(in);
}

int InkIn(const juce::Image& image, int x0, int y0, int width, int height) {
  int ink = 0;
  for (int y = y0; y < y0 + height; ++y)
    for (int x = x0; x < x0 + width; ++x) {
      const juce::Colour c = image.getPixelAt(x, y);
      if (image.hasAlphaChannel() ? c.getAlpha() > 128 : c.getRed() - c.getGreen() > 128) ++ink;
    }
  return ink;
}

}  // namespace render_test

namespace render_test {

int DifferingPixels(const juce::Image& a, const juce::Image& b) {
  if (a.getWidth() != b.getWidth() || a.getHeight() != b.getHeight()) return -1;
  int differing = 0;
  for (int y = 0; y < a.getHeight(); ++y)
    for (int x = 0; x < a.getWidth(); ++x)
      if (a.getPixelAt(x, y).getARGB() != b.getPixelAt(x, y).getARGB()) ++differing;
  return differing;
}

}  // namespace render_test
