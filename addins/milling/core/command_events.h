// The command events and result bits the host's command engine exchanges
// with the add-in's command objects, and the ids of the panels' common
// buttons.
#pragma once

#include "platform/base/types.h"

inline constexpr LONG kEventStart = 0x1;
inline constexpr LONG kEventSecondStart = 0x2001;
inline constexpr LONG kEventCancel = 0x10;
inline constexpr LONG kEventAccept = 0x100;
inline constexpr LONG kEventChildEnded = 0x400;
inline constexpr LONG kEventPoint = 0x200002;
inline constexpr LONG kEventPickAdd = 0x10004;
inline constexpr LONG kEventPick = 0x20004;
inline constexpr LONG kEventDraw = 0x8000;
inline constexpr LONG kEventControl = 0x1000000;

inline constexpr LONG kResultSelection = 0x1;
inline constexpr LONG kResultCommit = 0x2;
inline constexpr LONG kResultEnd = 0x4;
inline constexpr LONG kResultSkipParent = 0x10;

// Input kinds of a command level.
inline constexpr uint32_t kInputPickToggle = 0x20004;
inline constexpr uint32_t kInputPickAdd = 0x10004;
inline constexpr uint32_t kInputClickedPoint = 0x200002;
// Modifier tables of SetInputKinds: plain 1, Ctrl 2, Shift 4.
inline constexpr LONG kTablePlain = 1;
inline constexpr LONG kTableCtrl = 2;
inline constexpr LONG kTableShift = 4;
inline constexpr LONG kTablesAll = 7;

// Control notifications in the high word of a control event's value.
inline constexpr unsigned kNotifyClick = 0;
inline constexpr unsigned kNotifySelectionChange = 1;
inline constexpr unsigned kNotifyEditChange = 0x300;

// The common buttons of the add-in's panels.
inline constexpr LONG kControlOk = 1000;
inline constexpr LONG kControlCancel = 103;
inline constexpr LONG kControlHelp = 104;

// A point travels with an event as three 16-byte records, x, y and z, each
// a double and the real number's flag word.
struct EventCoordinate {
    double value = 0.0;
    uint16_t flags = 0;
    uint8_t padding[6] = {};
};
static_assert(sizeof(EventCoordinate) == 16);
