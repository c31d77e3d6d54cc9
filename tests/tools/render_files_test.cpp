// SPDX-License-Identifier: GPL-3.0-or-later
// Where tickora-render may write, through the real binary: only regular
// files are replaced (a link is written through), every other kind of
// file is refused and left as it was, and frames of an earlier sequence are
// refused, or removed with --overwrite.
#include "RenderTool.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

using render_test::FilesIn;
using render_test::RunRender;
using render_test::ToolRun;

namespace {

mode_t KindOf(const std::string& path) {
  struct stat info {};
  return lstat(path.c_str(), &info) == 0 ? (info.st_mode & S_IFMT) : 0;
}

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void Spit(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// A private null device: a refusal that failed must not cost the machine
// its /dev/null. Empty when this user may not make device nodes.
std::string MakeDevice(const std::string& path) {
  return mknod(path.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0 ? path : std::string();
}

void ExpectRefused(const std::vector<std::string>& args, const std::string& message,
                   const std::string& kept) {
  std::string command;
  for (const std::string& a : args) command += " " + a;
  const mode_t kind = KindOf(kept);
  const ToolRun run = RunRender(args);
  EXPECT_EQ(run.status, 1) << command << "\n" << run.err;
  EXPECT_EQ(run.err, "tickora-render: " + message + "\n") << command;
  EXPECT_TRUE(run.out.empty()) << command << "\n" << run.out;
  EXPECT_EQ(KindOf(kept), kind) << command << ": " << kept << " was replaced";
}

}  // namespace

TEST(RenderFiles, OutRefusesEveryKindButARegularFile) {
  const std::string dir = render_test::MakeTempFolder("out-kinds");
  const std::string fifo = dir + "/pipe.png", device = MakeDevice(dir + "/null.png");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0666), 0);
  ASSERT_EQ(symlink("pipe.png", (dir + "/to-pipe.png").c_str()), 0);
  ASSERT_EQ(symlink("nothing.png", (dir + "/dangling.png").c_str()), 0);
  const auto out = [](const std::string& path) {
    return std::vector<std::string>{"--size", "32x18", "--out", path};
  };
  ExpectRefused(out(fifo), "cannot write '" + fifo + "': it is a FIFO (named pipe), not a regular file", fifo);
  ExpectRefused(out(dir + "/to-pipe.png"),
                "cannot write '" + dir + "/to-pipe.png': it links to '" + fifo +
                    "', a FIFO (named pipe), not a regular file", fifo);
  ExpectRefused(out(dir + "/dangling.png"),
                "cannot write '" + dir + "/dangling.png': it is a symbolic link to nothing "
                "(No such file or directory)", dir + "/dangling.png");
  if (!device.empty())
    ExpectRefused(out(device), "cannot write '" + device + "': it is a character device, not a regular file", device);
  ExpectRefused(out(dir), "cannot write '" + dir + "': it is a folder, not a regular file", dir);
  EXPECT_EQ(KindOf(dir + "/to-pipe.png"), S_IFLNK);
}

TEST(RenderFiles, OutWritesThroughALinkAndReplacesAFile) {
  const std::string dir = render_test::MakeTempFolder("out-link");
  Spit(dir + "/picture.png", "not a picture yet");
  ASSERT_EQ(symlink("picture.png", (dir + "/latest.png").c_str()), 0);
  const ToolRun run = RunRender({"--size", "32x18", "--out", dir + "/latest.png"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(KindOf(dir + "/latest.png"), S_IFLNK);  // still the link
  const juce::Image image = render_test::LoadPng(dir + "/picture.png");
  EXPECT_EQ(image.getWidth(), 32);
  EXPECT_EQ(FilesIn(dir), (std::vector<std::string>{"latest.png", "picture.png"}));
}

TEST(RenderFiles, OutDirRefusesWhatIsNoFolderAndFramesThatAreNoFiles) {
  const std::string dir = render_test::MakeTempFolder("outdir-kinds");
  const std::string file = dir + "/file", fifo = dir + "/pipe",
                    device = MakeDevice(dir + "/null");
  Spit(file, "text");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0666), 0);
  const auto sequence = [](const std::string& folder) {
    return std::vector<std::string>{"--size", "32x18", "--frames", "2", "--overwrite",
                                    "--out-dir", folder};
  };
  ExpectRefused(sequence(file), "cannot write into '" + file + "': it is a regular file, not a folder", file);
  ExpectRefused(sequence(fifo), "cannot write into '" + fifo + "': it is a FIFO (named pipe), not a folder", fifo);
  if (!device.empty())
    ExpectRefused(sequence(device), "cannot write into '" + device + "': it is a character device, not a folder", device);
  // Even --overwrite removes only files that a sequence could have written.
  const std::string frames = dir + "/frames";
  ASSERT_EQ(mkdir(frames.c_str(), 0777), 0);
  ASSERT_EQ(mkdir((frames + "/frame-00002.png").c_str(), 0777), 0);
  ExpectRefused(sequence(frames), "'" + frames + "/frame-00002.png' is a folder, not a frame this "
                "tool wrote; move it or choose another folder", frames + "/frame-00002.png");
  EXPECT_EQ(FilesIn(frames), (std::vector<std::string>{"frame-00002.png"}));
  EXPECT_EQ(Slurp(file), "text");
}

TEST(RenderFiles, EarlierFramesAreRefusedOrRemovedWithOverwrite) {
  const std::string dir = render_test::MakeTempFolder("overwrite") + "/frames";
  const auto sequence = [&](const std::string& frames, bool overwrite) {
    std::vector<std::string> args{"--size", "32x18", "--frames", frames, "--out-dir", dir};
    if (overwrite) args.push_back("--overwrite");
    return RunRender(args);
  };
  ASSERT_EQ(sequence("3", false).status, 0);
  Spit(dir + "/notes.txt", "mine");
  const std::string third = Slurp(dir + "/frame-00003.png");
  ASSERT_FALSE(third.empty());

  const ToolRun refused = sequence("2", false);
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(refused.err, "tickora-render: '" + dir + "' already holds 3 frame-*.png of an earlier "
                         "sequence; give --overwrite to remove them first, or choose another folder\n");
  EXPECT_EQ(FilesIn(dir).size(), 4u);
  EXPECT_EQ(Slurp(dir + "/frame-00003.png"), third);

  const ToolRun replaced = sequence("2", true);
  ASSERT_EQ(replaced.status, 0) << replaced.err;
  // No stale third frame behind a two-frame sequence; other files stay.
  EXPECT_EQ(FilesIn(dir),
            (std::vector<std::string>{"frame-00001.png", "frame-00002.png", "notes.txt"}));
  EXPECT_EQ(Slurp(dir + "/notes.txt"), "mine");
}
