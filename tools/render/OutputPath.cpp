// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/OutputPath.h"

#include "render/ToolError.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace render {
namespace {

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

void CheckFolderForFile(const std::string& shown, const std::string& path) {
  const std::string folder = FolderOf(path);
  struct stat info {};
  if (stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
    throw RunTimeError("cannot write '" + shown + "': no folder '" + folder + "'");
  if (access(folder.c_str(), W_OK | X_OK) != 0)
    throw RunTimeError("cannot write '" + shown + "': " + std::strerror(errno));
}

void MakeFolders(const std::string& folder) {
  size_t start = 0;
  while (start <= folder.size()) {
    const size_t slash = folder.find('/', start);
    const std::string partial = folder.substr(0, slash == std::string::npos ? folder.size() : slash);
    if (!partial.empty() && mkdir(partial.c_str(), 0777) != 0 && errno != EEXIST)
      throw RunTimeError("cannot create folder '" + partial + "': " + std::strerror(errno));
    if (slash == std::string::npos) break;
    start = slash + 1;
  }
}

// The frame-*.png regular files in the folder; throws for one that is not.
std::vector<std::string> EarlierFrames(const std::string& folder) {
  std::vector<std::string> frames;
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr)
    throw RunTimeError("cannot read folder '" + folder + "': " + std::strerror(errno));
  while (const dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    if (!IsSequenceFrameName(name)) continue;
    const std::string path = folder + "/" + name;
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0) continue;  // gone meanwhile
    if (!S_ISREG(info.st_mode)) {
      closedir(dir);
      throw RunTimeError("'" + path + "' is " + DescribeFileKind(info.st_mode) +
                         ", not a frame this tool wrote; move it or choose another folder");
    }
    frames.push_back(path);
  }
  closedir(dir);
  return frames;
}

}  // namespace

std::string DescribeFileKind(unsigned mode) {
  if (S_ISDIR(mode)) return "a folder";
  if (S_ISFIFO(mode)) return "a FIFO (named pipe)";
  if (S_ISCHR(mode)) return "a character device";
  if (S_ISBLK(mode)) return "a block device";
  if (S_ISSOCK(mode)) return "a socket";
  if (S_ISLNK(mode)) return "a symbolic link";
  return S_ISREG(mode) ? "a regular file" : "not a regular file";
}

void CheckReplaceable(const std::string& path) {
  struct stat info {};
  if (lstat(path.c_str(), &info) != 0 || S_ISREG(info.st_mode)) return;
  throw RunTimeError("cannot write '" + path + "': it is " + DescribeFileKind(info.st_mode) +
                     ", not a regular file");
}

std::string ResolveOutputFile(const std::string& path) {
  if (path.empty()) throw UsageError("the output file name is empty");
  struct stat link {};
  if (lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
    char target[PATH_MAX];
    if (realpath(path.c_str(), target) == nullptr)
      throw RunTimeError("cannot write '" + path + "': it is a symbolic link to nothing (" +
                         std::strerror(errno) + ")");
    struct stat info {};
    if (stat(target, &info) == 0 && !S_ISREG(info.st_mode))
      throw RunTimeError("cannot write '" + path + "': it links to '" + target + "', " +
                         DescribeFileKind(info.st_mode) + ", not a regular file");
    CheckFolderForFile(path, target);
    return target;
  }
  CheckReplaceable(path);
  CheckFolderForFile(path, path);
  return path;
}

bool IsSequenceFrameName(const std::string& name) {
  const std::string head = "frame-", tail = ".png";
  return name.size() >= head.size() + tail.size() && name.compare(0, head.size(), head) == 0 &&
         name.compare(name.size() - tail.size(), tail.size(), tail) == 0;
}

void PrepareOutputFolder(const std::string& folder, bool overwrite) {
  if (folder.empty()) throw UsageError("the output folder name is empty");
  MakeFolders(folder);
  struct stat info {};
  if (stat(folder.c_str(), &info) != 0)
    throw RunTimeError("cannot write into '" + folder + "': " + std::strerror(errno));
  if (!S_ISDIR(info.st_mode))
    throw RunTimeError("cannot write into '" + folder + "': it is " +
                       DescribeFileKind(info.st_mode) + ", not a folder");
  if (access(folder.c_str(), W_OK | X_OK) != 0)
    throw RunTimeError("cannot write into '" + folder + "': " + std::strerror(errno));
  const std::vector<std::string> earlier = EarlierFrames(folder);
  if (earlier.empty()) return;
  if (!overwrite)
    throw RunTimeError("'" + folder + "' already holds " + std::to_string(earlier.size()) +
                       " frame-*.png of an earlier sequence; give --overwrite to remove them "
                       "first, or choose another folder");
  for (const std::string& path : earlier)
    if (unlink(path.c_str()) != 0 && errno != ENOENT)
      throw RunTimeError("cannot remove '" + path + "': " + std::strerror(errno));
}

}  // namespace render
