#pragma once

#include <QtGlobal>

// What the update check and its fetching program agree on.
namespace UpdateFeed {

// The feed is a tiny document; anything much larger is not one.
inline constexpr qint64 maximumBytes = 1 << 20;
// The fetching program's file name.
inline constexpr char fetchProgram[] = "traymate-fetch-feed";

} // namespace UpdateFeed
