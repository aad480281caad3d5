// libFuzzer target for the X11 saver's arguments. The input is split at NUL
// bytes: the first piece is the XSCREENSAVER_WINDOW value (unset when empty),
// the others the words of the command line. Every result must be one the
// caller knows, with its fields in their ranges.

#include "host/saver_options.h"

#include <cstring>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> pieces;
    for (std::size_t start = 0, end = 0; end != std::string::npos; start = end + 1)
        pieces.push_back(input.substr(start, (end = input.find('\0', start)) - start));
    std::vector<const char*> argv{"aquarium"};
    for (std::size_t i = 1; i < pieces.size(); ++i) argv.push_back(pieces[i].c_str());
    const char* env = pieces[0].empty() ? nullptr : pieces[0].c_str();

    const SaverOptions o = parseSaverOptions(static_cast<int>(argv.size()), argv.data(), env);
    using R = SaverOptionsResult;
    const bool failed = o.result == R::UsageError || o.result == R::WindowError;
    if ((!failed && o.result != R::Run && o.result != R::Help && o.result != R::Version) ||
        !std::memchr(o.error, '\0', sizeof o.error) || failed != (o.error[0] != '\0'))
        __builtin_trap();
    if (o.window > MaxWindowId || o.command.parentWindow > MaxWindowId || o.frameDelay < 0 ||
        o.frameDelay > MaxFrameDelay || static_cast<unsigned>(o.target) > 3)
        __builtin_trap();
    // Only a foreign window has a window number.
    if (o.result == R::Run && o.target != SaverTarget::ForeignWindow && o.window != 0)
        __builtin_trap();
    return 0;
}
