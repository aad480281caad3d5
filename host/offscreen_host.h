// What the offscreen host records, for tests and the offscreen renderer.
#pragma once

#include "host/host.h"

constexpr int MaxRecordedMessages = 32;

struct RecordedMessage {
    char caption[64];
    char text[192];
    MessageKind kind;
};

// Messages shown through hostShowMessage since the last clear, oldest first.
// Messages beyond MaxRecordedMessages are counted but not kept.
int recordedMessageCount();
const RecordedMessage& recordedMessage(int index);
void clearRecordedMessages();

// Number of hostSwapBuffers calls so far.
long swapCount();
