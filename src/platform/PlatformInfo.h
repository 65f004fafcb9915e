#pragma once

namespace tempolatch::platform {

// The version the platform layer reports: 5, so the soft-key menu bars are
// offered and notes go to the word processor as rich text.
constexpr int PlatformMajorVersion = 5;

// A desktop does not make the soft-key bar its default: a first start, and
// settings from before the option, get the classic menu bar.
constexpr bool SoftKeysByDefault = false;

}  // namespace tempolatch::platform
