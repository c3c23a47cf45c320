#pragma once
// The application-wide screen cursor.

namespace platform {

enum class ScreenCursor { Default, HourGlass, AppStart };

void SetScreenCursor(ScreenCursor cursor);
ScreenCursor CurrentScreenCursor();

}  // namespace platform
