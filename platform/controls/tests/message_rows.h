// Test support of the controls for the one message recorder
// (platform/user/tests/message_recorder.h): the details of the controls'
// notification records and the names of their codes, and rows for what a
// parent window hears from its controls, written by name. Every fixture
// of the controls names its parent window "parent".
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "platform/controls/commctrl.h"
#include "platform/controls/richedit.h"
#include "platform/user/tests/message_recorder.h"

namespace nuvex::controls::testing {

using user::testing::Delivered;
using user::testing::Expect;
using user::testing::MessageRecorder;

// The role of the window the controls notify in every controls fixture.
inline constexpr const char* kParentRole = "parent";

// Reads the controls' notification records: the position and step of
// UDN_DELTAPOS ("pos", "delta"), the action and items of tree
// notifications ("action", "old", "new"), the range of EN_SELCHANGE and
// the message and range of EN_PROTECTED ("msg", "min", "max"), and names
// the notification codes.
user::testing::Details ReadControlDetails(UINT message, WPARAM wParam, LPARAM lParam);

// Names the parent, reads the controls' details and starts recording.
void StartRecording(MessageRecorder& recorder, HWND parent);

// Rows of what the parent hears.
Expect Command(int id, WORD code);
Expect Notify(int id, UINT code);
Expect DeltaPos(int id, int pos, int delta);
Expect TreeNotify(int id, UINT code, UINT action, HTREEITEM oldItem, HTREEITEM newItem);
Expect Scroll(UINT message, UINT code, int pos = 0);
Expect DrawItem(int id, UINT item, UINT action, UINT state);

// The notification codes of WM_COMMAND and WM_NOTIFY deliveries, in order.
std::vector<UINT> CodesOf(const std::vector<Delivered>& deliveries);

} // namespace nuvex::controls::testing
