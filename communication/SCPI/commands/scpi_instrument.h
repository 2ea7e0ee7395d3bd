#pragma once
// What the command handlers need from the rest of the instrument, in one
// narrow interface: the parameter record they read for queries, the requests
// they hand to the controller's thread, a few read-outs of controller state
// and the direct actions some rows take on the SCPI thread.
//
// The interpreter's context carries the implementation its handlers use. The
// program's (app/scpi_instrument_qt.cpp) forwards to the controller,
// sys_param and the hardware layer. Tests and the fuzz target put their own
// into their context (for instance a recorder of the requests) so that every
// handler can run without a controller behind it.
#include <string>
#include "param/hardwareinfo.h"

struct scpi_t;

class ScpiInstrument {
public:
    virtual ~ScpiInstrument() = default;

    // ---- the parameter record (read-only from the SCPI thread) -------------
    // The record as the controller last published it (its own thread and a
    // context without a controller read the live one).
    virtual const HardWareInfo& record() = 0;
    // A copy of the record as it is sent away: with its CRC brought up to
    // date, so that the same bytes are accepted when they come back.
    virtual void recordImage(HardWareInfo* out) = 0;

    // ---- requests to the controller, carried out on its own thread ----------
    virtual void setValue(int target, int paramIndex, double value) = 0;
    virtual void setUnits(int target, int paramIndex, int unit) = 0;
    virtual void setModeIndex(int ch, int mode, int index) = 0;
    virtual void baseWaveSelected(int ch, int wave, int where) = 0;
    virtual void modeSelected(int ch, int mode) = 0;
    // The whole record as received (empty: factory defaults). Returns once
    // the controller has taken it.
    virtual void loadRecord(const char* data, int length) = 0;
    virtual void arbFile(int ch, const std::string& path, bool base, bool exe, bool tempFile) = 0;
    // Blocks until the controller has applied what was requested before
    // (throughScreens: also a choice that makes a round trip through the
    // channel page), at most timeoutMs; false on a timeout.
    virtual bool waitApplied(bool throughScreens, int timeoutMs) = 0;

    // ---- controller state ---------------------------------------------------
    virtual bool outputOn(int ch) = 0;
    // The counter's and the digital output's switches (not in the record).
    virtual bool counterOn() { return false; }
    virtual bool digitalOn() { return false; }
    // Whether the editing model of that parameter is masked (greyed out) in
    // its list: 0..3 a channel, 4/5 a pair. A missing model counts as masked.
    virtual bool modelMasked(int list, int paramIndex) = 0;
    virtual int language() = 0;
    virtual std::string serial() = 0;
    virtual void setSerial(const char* text, unsigned length) = 0;
    virtual std::string displayName() = 0;
    virtual std::string hardwareVersion() = 0;
    virtual double sineBandwidth(int ch) = 0;

    // ---- direct actions -----------------------------------------------------
    // Stores an arb file path of a channel in the record and refreshes the
    // channel's file entry (base: carrier file, else modulating file).
    virtual void storeArbPath(int ch, bool base, const std::string& path) = 0;
    // Depth-first search of the board folder for a file of exactly that name.
    virtual bool findFile(const char* boardFolder, const std::string& name, std::string* path) = 0;
    // One manual trigger of a channel's sweep or burst.
    virtual void manualTrigger(int ch) = 0;
    // The whole settings as preset n (1..5), as the preset page stores them;
    // false when the copy did not reach its place.
    virtual bool savePreset(int) { return false; }
    // Applies preset n (1..5); false when there is no valid copy.
    virtual bool recallPreset(int) { return false; }
};

// The implementation the context carries (scpi_t::instrument), or a blank
// instrument that takes nothing and reads a blank record when it carries
// none (a context of a stand-alone build of the table, before start-up).
ScpiInstrument& scpi_instrument(scpi_t* context);
