#include "host/saver_close_rules.h"

SaverCloseState startSaverClose(bool inputCloses, bool usePassword, std::int32_t pointerX,
                                std::int32_t pointerY) {
    return SaverCloseState{inputCloses, usePassword, pointerX, pointerY, false, false};
}

SaverAction saverCloseEvent(SaverCloseState& state, SaverEvent event, std::int32_t pointerX,
                            std::int32_t pointerY) {
    if (state.closing) return SaverAction::Ignore;
    if (event == SaverEvent::CloseRequest) {
        // A preview or embedded saver closes when its owner asks; a full-screen
        // one may first need the password.
        if (state.inputCloses && state.usePassword) {
            if (state.checkingPassword) return SaverAction::Ignore;
            state.checkingPassword = true;
            return SaverAction::CheckPassword;
        }
        state.closing = true;
        return SaverAction::Close;
    }
    if (!state.inputCloses || state.checkingPassword) return SaverAction::Ignore;
    switch (event) {
        case SaverEvent::KeyPress:
        case SaverEvent::ButtonPress:
            return SaverAction::RequestClose;
        case SaverEvent::PointerMoved:
        case SaverEvent::Deactivated:
            if (pointerX != state.recordedX || pointerY != state.recordedY)
                return SaverAction::RequestClose;
            return SaverAction::Ignore;
        case SaverEvent::CloseRequest:
            break;
    }
    return SaverAction::Ignore;
}

SaverAction saverPasswordVerdict(SaverCloseState& state, bool accepted, std::int32_t pointerX,
                                 std::int32_t pointerY) {
    if (!state.checkingPassword) return SaverAction::Ignore;
    state.checkingPassword = false;
    if (accepted) {
        state.closing = true;
        return SaverAction::Close;
    }
    state.recordedX = pointerX;
    state.recordedY = pointerY;
    return SaverAction::Ignore;
}
