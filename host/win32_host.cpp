// The host contract on Windows: the system tick count, the C calendar,
// message boxes and SwapBuffers on the saver window's device context.
#include "host/host.h"
#include "host/win32_gl_context.h"

#include <ctime>

std::uint32_t hostTickCount() { return GetTickCount(); }

std::int64_t hostCalendarSeconds() { return static_cast<std::int64_t>(std::time(nullptr)); }

// No owner window: the saver's own window may be the one that failed.
void hostShowMessage(const char* caption, const char* text, MessageKind kind) {
    const UINT icon = kind == MessageKind::Error ? MB_ICONEXCLAMATION : MB_ICONINFORMATION;
    MessageBoxA(nullptr, text, caption, MB_OK | icon);
}

void hostSwapBuffers() { SwapBuffers(deviceContext); }
