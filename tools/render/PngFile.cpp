// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/PngFile.h"

#include "render/OutputPath.h"
#include "render/ToolError.h"

#include <juce_graphics/juce_graphics.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace render {
namespace {

bool WriteAll(int fd, const void* data, size_t size) {
  const char* bytes = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t written = write(fd, bytes, size);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes += written;
    size -= static_cast<size_t>(written);
  }
  return true;
}

juce::Image ToJuceImage(const host::Pixels& pixels) {
  bool opaque = true;
  for (size_t i = 3; i < pixels.rgba.size() && opaque; i += 4) opaque = pixels.rgba[i] == 255;
  juce::Image image(opaque ? juce::Image::RGB : juce::Image::ARGB, pixels.width, pixels.height,
                    false);
  juce::Image::BitmapData data(image, juce::Image::BitmapData::writeOnly);
  for (int y = 0; y < pixels.height; ++y) {
    for (int x = 0; x < pixels.width; ++x) {
      const uint8_t* p = pixels.At(x, y);
      uint8_t* out = data.getPixelPointer(x, y);
      if (opaque) {
        reinterpret_cast<juce::PixelRGB*>(out)->setARGB(255, p[0], p[1], p[2]);
      } else {
        // JUCE keeps ARGB premultiplied and its PNG writer divides the alpha
        // out again, so what lands in the file is the straight RGBA the
        // plug-in drew (exact where opaque or empty, rounded where faint).
        juce::PixelARGB argb(p[3], p[0], p[1], p[2]);
        argb.premultiply();
        *reinterpret_cast<juce::PixelARGB*>(out) = argb;
      }
    }
  }
  return image;
}

}  // namespace

void WritePng(const host::Pixels& pixels, const std::string& path) {
  juce::MemoryOutputStream encoded;
  juce::PNGImageFormat png;
  if (pixels.width <= 0 || pixels.height <= 0 ||
      !png.writeImageToStream(ToJuceImage(pixels), encoded))
    throw RunTimeError("cannot encode the PNG for '" + path + "'");

  const std::string temporary = path + ".tmp-" + std::to_string(getpid());
  const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) throw RunTimeError("cannot write '" + path + "': " + std::strerror(errno));
  const bool written = WriteAll(fd, encoded.getData(), encoded.getDataSize());
  const int writeError = errno;
  const bool closed = close(fd) == 0;
  if (!written || !closed) {
    unlink(temporary.c_str());
    throw RunTimeError("cannot write '" + path + "': " +
                       std::strerror(written ? errno : writeError));
  }
  // Checked again now: a FIFO or device may have appeared while drawing.
  try {
    CheckReplaceable(path);
  } catch (...) {
    unlink(temporary.c_str());
    throw;
  }
  if (rename(temporary.c_str(), path.c_str()) != 0) {
    const int renameError = errno;
    unlink(temporary.c_str());
    throw RunTimeError("cannot write '" + path + "': " + std::strerror(renameError));
  }
}

}  // namespace render
