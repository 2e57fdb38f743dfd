// The NC token block shared by the milling add-in and the postprocessor
// plug-in: token codes, value kinds, character styles, the block capacities,
// and the word tables of the two controller dialects.
//
// A block is one line of an NC program held as parallel arrays: token codes,
// value kinds, VARIANT values (VT_I4 for integers, VT_R8 for reals, VT_BYREF |
// VT_I1 with a char* for texts) and one style int per character of the line.
// The add-in never spells a word itself; it builds codes and values and lets a
// postprocessor turn them into text and back.
#pragma once

#include <cstdint>

#include "platform/com/variant.h"

// Token codes. The numbers cross the plug-in boundary and are never changed.
enum NcTokenCode : int32_t {
    kNcRawText = 0,               // any word that matches no address (text)
    kNcColonNumber = 1,           // ":" block number (integer)
    kNcBlockNumber = 2,           // N block number (integer)
    kNcRapid = 3,                 // G0
    kNcLinear = 4,                // G1
    kNcArcClockwise = 5,          // G2
    kNcArcCounterClockwise = 6,   // G3
    kNcPlaneXY = 7,               // G17
    kNcPlaneXZ = 8,               // G18
    kNcPlaneYZ = 9,               // G19
    kNcAbsolute = 10,             // G90
    kNcIncremental = 11,          // G91
    kNcInch = 12,                 // G70
    kNcMetric = 13,               // G71
    kNcFeedPerMinute = 14,        // G94
    kNcFeedPerRevolution = 15,    // G95
    kNcCompensationOff = 16,      // G40
    kNcCompensationLeft = 17,     // G41
    kNcCompensationRight = 18,    // G42
    kNcProgramEnd = 19,           // M30 (dialect 0) or M2 (dialect 1)
    kNcFeed = 20,                 // F (real)
    kNcSpindleSpeed = 21,         // S (real)
    kNcTool = 22,                 // T (integer)
    kNcX = 23,                    // X (real)
    kNcY = 24,                    // Y (real)
    kNcZ = 25,                    // Z (real)
    kNcCentreI = 26,              // I (real)
    kNcCentreJ = 27,              // J (real)
    kNcCentreK = 28,              // K (real)
    kNcRadius = 29,               // R (dialect 0) or CR= (dialect 1) (real)
    kNcComment = 30,              // ";" and the rest of the line (text)
    kNcSpindleClockwise = 31,     // M3
    kNcSpindleCounterClockwise = 32, // M4
    kNcM36 = 33,                  // M36, the controller's own meaning
    kNcM35 = 34,                  // M35, the controller's own meaning
    kNcProgramStop = 35,          // M0
    kNcOptionalStop = 36,         // M1
    kNcToolOffset = 37,           // D (real)
    kNcG450 = 38,                 // G450, the controller's own meaning
    kNcG451 = 39,                 // G451, the controller's own meaning
};
inline constexpr int32_t kNcTokenCodeCount = 40;

// Value kinds of the kinds array.
enum NcValueKind : int32_t {
    kNcKindNone = 0,
    kNcKindInteger = 1,  // VT_I4
    kNcKindReal = 2,     // VT_R8
    kNcKindText = 3,     // VT_BYREF | VT_I1, a zero-terminated char*
};

// VARIANT type tag of text values.
inline constexpr VARTYPE kNcTextVariantType = VT_BYREF | VT_I1;

// Character style codes, one per character of a line (colour classes of the
// add-in's NC code pane).
enum NcStyle : int32_t {
    kNcStylePlain = 0,
    kNcStyleNumber = 2,    // digits, point and sign of a number
    kNcStyleComment = 4,
    kNcStyleRawText = 8,
    kNcStyleGWord = 16,    // G words, and the ":" and "N" letters
    kNcStyleAxis = 32,     // X Y Z I J K R, CR, and the G of G450/G451
    kNcStyleMWord = 64,
    kNcStyleFeedSpeedTool = 128,  // F, S, T and D letters
};

// Capacities of a block. Callers of ParseBlock hand in arrays of at least
// kNcMaxBlockTokens codes, kinds and values and kNcMaxLineLength styles;
// callers of FormatBlock a line buffer of kNcMaxLineLength bytes and the
// same number of styles. The plug-in never writes past these.
inline constexpr int32_t kNcMaxBlockTokens = 256;
inline constexpr int32_t kNcMaxLineLength = 1024;  // characters and terminating zero

// Parse ranges of the number words (the text must read as a value inside).
inline constexpr double kNcFeedMin = 0.001;          // F and S: min <= v < max
inline constexpr double kNcFeedMax = 99999.999;
inline constexpr double kNcCoordinateMin = -99999.999;  // X..K, R, D: min <= v < max
inline constexpr double kNcCoordinateMax = 99999.999;
inline constexpr double kNcRadiusMinMagnitude = 0.01;   // R: |v| >= this
inline constexpr int32_t kNcToolMax = 32000;             // T: 0 <= t <= this

// How a token's value is written after its address.
enum class NcValueForm : uint8_t {
    Fixed,    // the word is fixed text, no value
    Integer,  // "%d" of the VT_I4 value
    Real,     // number text of the VT_R8 value (three decimals, zeros trimmed)
    Text,     // the char* value as it stands
};

// One word of a dialect's table, and how its characters are coloured (the
// same whether the word is written or read back):
// - Fixed: `text` is the whole word; its first `letters` characters take
//   `style` and the rest kNcStyleNumber (letters 0: all of it takes `style`).
// - Integer, Real: `text` is the address written before the value; its
//   characters take `style`, except "=" which stays kNcStylePlain; the value
//   takes kNcStyleNumber.
// - Text: `text` is written before the text value; the whole word takes `style`.
struct NcWord {
    const char* text;
    NcValueForm form;
    NcStyle style;
    uint8_t letters = 0;
};

// A controller dialect: its display name, its words indexed by token code,
// its radius address and whether it honours the word-separator switch.
struct NcDialect {
    const char* name;
    const NcWord* words;  // kNcTokenCodeCount entries
    const char* radiusAddress;
    bool separatorOptional;  // false: always writes a blank between words
};

namespace nc_detail {

// Both dialects share every word but the motion words, the program end and
// the radius; one macro-free table per dialect keeps the rows visible.
inline constexpr NcWord kPowerControlWords[kNcTokenCodeCount] = {
    {"", NcValueForm::Text, kNcStyleRawText},          // 0 raw text
    {":", NcValueForm::Integer, kNcStyleGWord},        // 1
    {"N", NcValueForm::Integer, kNcStyleGWord},        // 2
    {"G00", NcValueForm::Fixed, kNcStyleGWord},        // 3
    {"G01", NcValueForm::Fixed, kNcStyleGWord},        // 4
    {"G02", NcValueForm::Fixed, kNcStyleGWord},        // 5
    {"G03", NcValueForm::Fixed, kNcStyleGWord},        // 6
    {"G17", NcValueForm::Fixed, kNcStyleGWord},        // 7
    {"G18", NcValueForm::Fixed, kNcStyleGWord},        // 8
    {"G19", NcValueForm::Fixed, kNcStyleGWord},        // 9
    {"G90", NcValueForm::Fixed, kNcStyleGWord},        // 10
    {"G91", NcValueForm::Fixed, kNcStyleGWord},        // 11
    {"G70", NcValueForm::Fixed, kNcStyleGWord},        // 12
    {"G71", NcValueForm::Fixed, kNcStyleGWord},        // 13
    {"G94", NcValueForm::Fixed, kNcStyleGWord},        // 14
    {"G95", NcValueForm::Fixed, kNcStyleGWord},        // 15
    {"G40", NcValueForm::Fixed, kNcStyleGWord},        // 16
    {"G41", NcValueForm::Fixed, kNcStyleGWord},        // 17
    {"G42", NcValueForm::Fixed, kNcStyleGWord},        // 18
    {"M30", NcValueForm::Fixed, kNcStyleMWord},        // 19
    {"F", NcValueForm::Real, kNcStyleFeedSpeedTool},   // 20
    {"S", NcValueForm::Real, kNcStyleFeedSpeedTool},   // 21
    {"T", NcValueForm::Integer, kNcStyleFeedSpeedTool},  // 22
    {"X", NcValueForm::Real, kNcStyleAxis},            // 23
    {"Y", NcValueForm::Real, kNcStyleAxis},            // 24
    {"Z", NcValueForm::Real, kNcStyleAxis},            // 25
    {"I", NcValueForm::Real, kNcStyleAxis},            // 26
    {"J", NcValueForm::Real, kNcStyleAxis},            // 27
    {"K", NcValueForm::Real, kNcStyleAxis},            // 28
    {"R", NcValueForm::Real, kNcStyleAxis},            // 29
    {";", NcValueForm::Text, kNcStyleComment},         // 30
    {"M3", NcValueForm::Fixed, kNcStyleMWord},         // 31
    {"M4", NcValueForm::Fixed, kNcStyleMWord},         // 32
    {"M36", NcValueForm::Fixed, kNcStyleMWord},        // 33
    {"M35", NcValueForm::Fixed, kNcStyleMWord},        // 34
    {"M0", NcValueForm::Fixed, kNcStyleMWord},         // 35
    {"M1", NcValueForm::Fixed, kNcStyleMWord},         // 36
    {"D", NcValueForm::Real, kNcStyleFeedSpeedTool},   // 37
    {"G450", NcValueForm::Fixed, kNcStyleAxis, 1},     // 38
    {"G451", NcValueForm::Fixed, kNcStyleAxis, 1},     // 39
};

inline constexpr NcWord kSiemensWords[kNcTokenCodeCount] = {
    {"", NcValueForm::Text, kNcStyleRawText},          // 0 raw text
    {":", NcValueForm::Integer, kNcStyleGWord},        // 1
    {"N", NcValueForm::Integer, kNcStyleGWord},        // 2
    {"G0", NcValueForm::Fixed, kNcStyleGWord},         // 3
    {"G1", NcValueForm::Fixed, kNcStyleGWord},         // 4
    {"G2", NcValueForm::Fixed, kNcStyleGWord},         // 5
    {"G3", NcValueForm::Fixed, kNcStyleGWord},         // 6
    {"G17", NcValueForm::Fixed, kNcStyleGWord},        // 7
    {"G18", NcValueForm::Fixed, kNcStyleGWord},        // 8
    {"G19", NcValueForm::Fixed, kNcStyleGWord},        // 9
    {"G90", NcValueForm::Fixed, kNcStyleGWord},        // 10
    {"G91", NcValueForm::Fixed, kNcStyleGWord},        // 11
    {"G70", NcValueForm::Fixed, kNcStyleGWord},        // 12
    {"G71", NcValueForm::Fixed, kNcStyleGWord},        // 13
    {"G94", NcValueForm::Fixed, kNcStyleGWord},        // 14
    {"G95", NcValueForm::Fixed, kNcStyleGWord},        // 15
    {"G40", NcValueForm::Fixed, kNcStyleGWord},        // 16
    {"G41", NcValueForm::Fixed, kNcStyleGWord},        // 17
    {"G42", NcValueForm::Fixed, kNcStyleGWord},        // 18
    {"M2", NcValueForm::Fixed, kNcStyleMWord},         // 19
    {"F", NcValueForm::Real, kNcStyleFeedSpeedTool},   // 20
    {"S", NcValueForm::Real, kNcStyleFeedSpeedTool},   // 21
    {"T", NcValueForm::Integer, kNcStyleFeedSpeedTool},  // 22
    {"X", NcValueForm::Real, kNcStyleAxis},            // 23
    {"Y", NcValueForm::Real, kNcStyleAxis},            // 24
    {"Z", NcValueForm::Real, kNcStyleAxis},            // 25
    {"I", NcValueForm::Real, kNcStyleAxis},            // 26
    {"J", NcValueForm::Real, kNcStyleAxis},            // 27
    {"K", NcValueForm::Real, kNcStyleAxis},            // 28
    {"CR=", NcValueForm::Real, kNcStyleAxis},          // 29
    {";", NcValueForm::Text, kNcStyleComment},         // 30
    {"M3", NcValueForm::Fixed, kNcStyleMWord},         // 31
    {"M4", NcValueForm::Fixed, kNcStyleMWord},         // 32
    {"M36", NcValueForm::Fixed, kNcStyleMWord},        // 33
    {"M35", NcValueForm::Fixed, kNcStyleMWord},        // 34
    {"M0", NcValueForm::Fixed, kNcStyleMWord},         // 35
    {"M1", NcValueForm::Fixed, kNcStyleMWord},         // 36
    {"D", NcValueForm::Real, kNcStyleFeedSpeedTool},   // 37
    {"G450", NcValueForm::Fixed, kNcStyleAxis, 1},     // 38
    {"G451", NcValueForm::Fixed, kNcStyleAxis, 1},     // 39
};

} // namespace nc_detail

// Dialect 0: "Power Control CNC" (two-digit motion words, M30, R, optional blanks).
inline constexpr NcDialect kNcPowerControlDialect = {
    "Power Control CNC", nc_detail::kPowerControlWords, "R", true};
// Dialect 1: "Siemens 3Axis Milling" (G0..G3, M2, CR=, always a blank).
inline constexpr NcDialect kNcSiemensDialect = {
    "Siemens 3Axis Milling", nc_detail::kSiemensWords, "CR=", false};

// Dialects by postprocessor index.
inline constexpr const NcDialect* kNcDialects[] = {&kNcPowerControlDialect, &kNcSiemensDialect};
inline constexpr int32_t kNcDialectCount = 2;

// How the number after a G or M address maps to a token code when read.
struct NcNumberCode {
    int32_t number;
    NcTokenCode code;
};

inline constexpr NcNumberCode kNcGCodes[] = {
    {0, kNcRapid},           {1, kNcLinear},           {2, kNcArcClockwise},
    {3, kNcArcCounterClockwise}, {17, kNcPlaneXY},     {18, kNcPlaneXZ},
    {19, kNcPlaneYZ},        {40, kNcCompensationOff}, {41, kNcCompensationLeft},
    {42, kNcCompensationRight}, {70, kNcInch},         {71, kNcMetric},
    {90, kNcAbsolute},       {91, kNcIncremental},     {94, kNcFeedPerMinute},
    {95, kNcFeedPerRevolution}, {450, kNcG450},        {451, kNcG451},
};

// M2 and M30 both read as the program end, so each dialect reads back what
// the other writes.
inline constexpr NcNumberCode kNcMCodes[] = {
    {0, kNcProgramStop}, {1, kNcOptionalStop},          {2, kNcProgramEnd},
    {30, kNcProgramEnd}, {3, kNcSpindleClockwise},      {4, kNcSpindleCounterClockwise},
    {35, kNcM35},        {36, kNcM36},
};
