#pragma once
// Number handling of the editing models: the displayed text of a value with
// its unit and digit grouping, the selected digit and the arrow/knob steps.
#include <QString>
#include "param/global.h"

// Decimal exponent of the leading digit: 0 for |x| < 1e-20 or x > 1e20.
int GetMaxBit(double x);
// Snaps x to the nearest multiple of 10^n, halves away from zero.
double roundingBit(double x, int n);
// 10^n as a double (exact for the decimal range used here).
double pow10i(int n);

// Formats v for display. unitType picks the unit table, minBit is the
// exponent of the last shown digit, sel the exponent of the selected digit
// (used with focus). separator: 0 ",", 1 " ", other values no grouping.
// With focus sPos/sLen give the highlighted digit, or the unit when
// sel < minBit. Returns the index of the unit used, or -1 (text left empty)
// for a class without a unit table.
int paramValueToString(double v, UintType unitType, int minBit, QString& text, bool focus, int sel, int& sPos,
                       int& sLen, int separator);
// The same with the system's separator setting.
int paramValueToString(double v, UintType unitType, int minBit, QString& text, bool focus, int sel, int& sPos,
                       int& sLen);

// Moves the selected digit one place left or right within the descriptor's
// range. Moving right past the last digit selects the unit (sel = MinBit - 1)
// and counts as refused. Returns whether the digit moved.
bool AddSelectBit(const DataInfo& info, int& sel, bool toRight);
// Adds step (±repeat) units of the selected digit, clamped to Min..Max; with
// the unit selected multiplies by 10 or 0.1 when the result stays in range.
// Stepping the leading 1 of a value down keeps the digit count by moving the
// selection right (1000 -> 900, 1500 -> 500). Returns whether value changed.
bool AddF64Data(double& value, double Max, double Min, int step, int& sel, int MinBit);
// Reads the value through the descriptor, steps it, writes it back only when
// it changed; returns whether it changed.
bool paramValueAdd(const DataInfo& info, CH_ID ch, int step, int& sel);
