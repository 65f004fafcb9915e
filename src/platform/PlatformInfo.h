#pragma once

namespace tempolatch::platform {

// The version the platform layer reports: 5, so the soft-key menu bars are
// offered and notes go to the word processor as rich text.
constexpr int PlatformMajorVersion = 5;

}  // namespace tempolatch::platform
