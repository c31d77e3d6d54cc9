// SPDX-License-Identifier: GPL-3.0-or-later
// How many GL objects the driver knows, for the tests that check a plug-in
// leaves none behind. Asked name by name, it holds whatever table the
// plug-in calls through and sees framebuffers and renderbuffers too; the GL
// call recorder's LiveObjects() gives the breakdown by kind.
#pragma once

namespace testing_support {

// Every program, shader, buffer, vertex array, texture, framebuffer and
// renderbuffer the current context knows among the first 20000 names.
int DriverGLObjects();

}  // namespace testing_support
