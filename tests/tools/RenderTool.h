// SPDX-License-Identifier: GPL-3.0-or-later
// Runs the real tickora-render binary (path in TICKORA_RENDER) as a child
// process and collects its exit status and output, and reads the PNGs it
// writes back with JUCE.
#pragma once

#include <juce_graphics/juce_graphics.h>

#include <string>
#include <vector>

namespace render_test {

struct ToolRun {
  int status = -1;  // exit status; 128 + signal when killed
  std::string out;
  std::string err;
};

// Runs `program args...` with the environment of the test plus `env`
// (NAME=VALUE; "-NAME" removes NAME), waiting at most `timeoutSeconds`.
ToolRun Run(const std::string& program, const std::vector<std::string>& args,
            const std::vector<std::string>& env = {}, int timeoutSeconds = 120);

std::string RenderBinary();
std::string PluginPath();  // the built Tickora.so
ToolRun RunRender(const std::vector<std::string>& args, const std::vector<std::string>& env = {});

// The environment that freezes the wall clock at 10:09:59.5 UTC on 8 Dec 2026.
std::vector<std::string> FrozenClock();
// ... and at another moment, "YYYY-MM-DD HH:MM:SS[.f...]" in UTC.
std::vector<std::string> FrozenClockAt(const std::string& moment);

// A fresh empty folder under the test's temporary folder.
std::string MakeTempFolder(const std::string& name);
std::vector<std::string> FilesIn(const std::string& folder);
bool Exists(const std::string& path);

juce::Image LoadPng(const std::string& path);
// Pixels of a rectangle whose alpha (or, for opaque images, red minus
// green) says the clock drew there.
int InkIn(const juce::Image& image, int x, int y, int width, int height);
// Pixels whose ARGB differs between the two images; -1 when their sizes do.
int DifferingPixels(const juce::Image& a, const juce::Image& b);

}  // namespace render_test
