#pragma once
// The unit tables of the number pad: for each unit class the units it offers,
// largest scale first, each table ended by an entry of scale 0 and type
// UintUndefined. The amplitude classes (Vpp, Vrms, dBm) share one table in
// which every entry carries its own class.
#include "param/global.h"

extern const UnitStruct FrequencyUint[];
extern const UnitStruct PeriodUint[];
extern const UnitStruct SampleRateUint[];
extern const UnitStruct BitrateUint[];
extern const UnitStruct VoltageAmpUint[];
extern const UnitStruct VoltageUint[];
extern const UnitStruct RatioUint[];
extern const UnitStruct AngleUint[];
extern const UnitStruct SNRUint[];
extern const UnitStruct OhmUint[];
extern const UnitStruct NumUint[];

// The table of a unit class; null for UintUndefined and UintDefault.
const UnitStruct* GetUintStruct(UintType type);
// Number of entries before the terminator; 0 without a table.
int GetUintSize(UintType type);
// The entry of class `type` that suits a magnitude: starting at the first
// entry of the class, the next entry of the same class is taken while the
// magnitude is below the current entry's scale. Preset entries (same scale,
// a fixed value) are never chosen this way. -1 without an entry of the class.
int GetUint(double magnitude, const UnitStruct* table, UintType type);
