// The vocabulary of the command engine: event codes sent to command
// objects and the result bits they answer with.
#pragma once

#include <cstdint>

#include "platform/base/types.h"

namespace command_event {
constexpr LONG kStart = 0x1;
constexpr LONG kSecondStart = 0x2001;
constexpr LONG kCancel = 0x10;
constexpr LONG kSettingsChanged = 0x20;
constexpr LONG kAccept = 0x100;
constexpr LONG kChildStarted = 0x200;
constexpr LONG kChildEnded = 0x400;
constexpr LONG kValue = 0x40;
constexpr LONG kTwoValues = 0x80;
constexpr LONG kAngle = 0x800;
constexpr LONG kTypedPoint = 0x100002;
constexpr LONG kModelPoint = 0x200002;
constexpr LONG kCursorLine = 0x201000;
constexpr LONG kPickA = 0x10004;
constexpr LONG kPickB = 0x20004;
constexpr LONG kDrawPreview = 0x8000;
} // namespace command_event

namespace command_result {
constexpr LONG kNotHandled = 0x10000000;
constexpr LONG kCommit = 0x2;
constexpr LONG kEnd = 0x4;
constexpr LONG kPassSelection = 0x1;
constexpr LONG kNested = 0x10;
constexpr LONG kTrackPoint = 0x8;
} // namespace command_result

// Input-kind bits.
constexpr uint32_t kInputPick = 0x4;

// A host command index at or above this starts nothing.
constexpr int32_t kMaxHostCommand = 10000;
// Button states.
constexpr int32_t kButtonEnabled = 4;
constexpr int32_t kButtonChecked = 6;
