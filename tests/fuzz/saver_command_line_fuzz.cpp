// libFuzzer target for the Windows saver's command-line scan: the first mode
// letter decides the mode, and a handle is the decimal number after it.

#include "host/saver_command_line.h"

#include <cstdio>
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);  // read up to a NUL
    const SaverCommand command = parseSaverCommandLine(text.c_str());
    const char* letter = std::strpbrk(text.c_str(), "aAcCpPsS");
    const char mode = letter ? static_cast<char>(*letter | 0x20) : 'c';
    const SaverMode modes[] = {SaverMode::ChangePassword, SaverMode::Configure,
                               SaverMode::Preview, SaverMode::FullScreen};
    const char* letters = "acps";
    if (command.mode != modes[std::strchr(letters, mode) - letters]) __builtin_trap();
    if (mode != 'p' && mode != 'a') {
        if (command.parentWindow != 0) __builtin_trap();
        return 0;
    }
    // The digits after the letter and its blanks, leading zeros aside, spell
    // the handle; none, or more than 64 bits hold, give 0.
    const char* digits = letter + 1 + std::strspn(letter + 1, " \t");
    digits += std::strspn(digits, "0");
    const std::size_t count = std::strspn(digits, "0123456789");
    char handle[24];
    std::snprintf(handle, sizeof handle, "%llu", (unsigned long long)command.parentWindow);
    if (command.parentWindow == 0 ? count > 0 && count < 20
                                  : count != std::strlen(handle) || std::strncmp(digits, handle, count))
        __builtin_trap();
    return 0;
}
