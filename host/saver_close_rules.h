// When a running saver ends: the rules every screen-saver host plays, kept
// apart from any window system so they can be tested on their own.
//
// A full-screen saver ends on any key, a mouse button, or a pointer that has
// left the position recorded when the window was created (no tolerance: one
// pixel is enough; a move report with the pointer where it was is ignored).
// Losing focus counts as a move: it ends the saver only if the pointer has
// left the recorded position. A preview or an embedded saver never ends on
// input; its owner closes it.
//
// Input first asks to close (RequestClose; on Windows, posting WM_CLOSE). The
// close request is then either decided at once (Close) or, where a password
// verifier is in use, handed to it (CheckPassword); a refused password
// re-records the pointer and the saver runs on. Once closing is decided no
// further frame is drawn and input is left to the system.
#pragma once

#include <cstdint>

enum class SaverEvent {
    KeyPress,
    ButtonPress,   // left, right or middle
    PointerMoved,  // a move report, with the pointer's position
    Deactivated,   // focus or activation lost, with the pointer's position
    CloseRequest,  // the close request that input (or the system) made
};

enum class SaverAction {
    Ignore,         // nothing to do: let the system's default handling run
    RequestClose,   // ask to close (post WM_CLOSE, or feed CloseRequest back)
    CheckPassword,  // ask the password verifier, then report its verdict
    Close,          // closing is decided: destroy the window
};

struct SaverCloseState {
    bool inputCloses;       // full screen: input ends the saver
    bool usePassword;       // a verifier must agree before a full-screen saver closes
    std::int32_t recordedX;  // pointer position recorded at creation (pixels)
    std::int32_t recordedY;
    bool checkingPassword;  // a verifier is being asked; input asks nothing more
    bool closing;           // closing decided: no more frames
};

// The state at window creation, with the pointer at (pointerX, pointerY).
SaverCloseState startSaverClose(bool inputCloses, bool usePassword, std::int32_t pointerX,
                                std::int32_t pointerY);

// One event, with the pointer's current position (read for moves and
// deactivation; ignored otherwise).
SaverAction saverCloseEvent(SaverCloseState& state, SaverEvent event, std::int32_t pointerX,
                            std::int32_t pointerY);

// The verifier's answer to CheckPassword: Close when accepted; otherwise the
// pointer's position becomes the recorded one and the saver runs on (Ignore).
SaverAction saverPasswordVerdict(SaverCloseState& state, bool accepted, std::int32_t pointerX,
                                 std::int32_t pointerY);

// True while frames are drawn: until closing is decided.
inline bool saverDrawsFrames(const SaverCloseState& state) { return !state.closing; }

// True while a full-screen saver keeps the pointer hidden: not during a
// password check (the verifier's dialog needs it) and not once closing.
inline bool saverHidesPointer(const SaverCloseState& state) {
    return state.inputCloses && !state.checkingPassword && !state.closing;
}
