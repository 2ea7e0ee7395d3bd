#pragma once
// The simulated FPGA of a simulated board: the register space as the
// application sees it through "/dev/fpga", plus what the logic does with it:
//  - a 64 KiB byte register space; the status block 0x800..0x82A is driven by
//    the "hardware" (poke) and ignores writes;
//  - the streamed ports: the table data port per REG_TABLE_SELECT target while
//    REG_TABLE_LOAD is 1, the frequency-list port per REG_LIST_CH bit, the two
//    deep-memory windows, the digital data and companion ports; what was
//    streamed is kept per target, a new load replaces it;
//  - the key expander behind REG_KEY_PORT (a read request returns the chip
//    register last written through REG_KEY_READBACK) and the LED expander;
//  - a queue of key events that raises the key flag (control request 20) and
//    feeds REG_KEY_CODE, one event per read;
//  - the offset DACs behind REG_OFS_DAC_SEL / REG_OFS_DAC: the coarse and the
//    fine word last latched for each channel (the output's DC level);
//  - the overload latches: writing 1 to a channel's REG_SAFE_CLR clears its
//    two bits in REG_SAFE_STATUS;
//  - the configuration port of "/dev/fpga_cfg" (simfpga_cfg.cpp);
//  - a record of the writes received.
// One object for the process; every member is thread safe. A running program
// serves it to ornav-sim over a Unix socket under the board root
// (simfpga_server.cpp).
#include <QByteArray>
#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVector>
#include <atomic>
#include <cstdint>
#include <deque>
#include <mutex>
#include <thread>
#include "hardware/fpga_usercmd.h"

class SimFpga {
public:
    static SimFpga& instance();

    static const int kSpaceSize = 0x10000;
    // Writes kept in the record; later ones are only counted.
    static const int kMaxLoggedWrites = 100000;
    // Deep-memory capacity per channel in bytes (2^26 samples).
    static const int kDeepBytes = 1 << 27;
    // Board path of the socket a running program serves the FPGA on, and of
    // the power-on values of the simulated FPGA.
    static const char* kSocketPath;
    static const char* kPowerOnPath;

    // Values the FPGA presents after power-on.
    struct PowerOn {
        uint8_t hwVersion = 0x09;               // reads as hardware "2.01"
        uint8_t logicVersion[2] = {0x12, 0x05}; // reads as logic "1.02.005"
        uint8_t clockStatus = 0;                // no external reference
        bool configured = true;                 // configuration flash holds a bitstream
        int erasePolls = 3;                     // erase busy answers per erase
    };

    // Power-on: clears every register, stream, key event and the write record
    // and presents the given values.
    void reset(const PowerOn& p);
    void reset() { reset(PowerOn()); }
    // Power-on with the values of an INI file (keys HwVersion, LogicVersion0,
    // LogicVersion1, ClockStatus, Configured, ErasePolls; decimal or 0x hex);
    // missing keys keep their defaults.
    void powerOn(const QString& iniFile);
    static PowerOn readPowerOn(const QString& iniFile);

    // ---- the register device --------------------------------------------
    int write(const userCmd& cmd, int count);
    int read(const userCmd& cmd, int count);
    int control(unsigned long request, unsigned long arg);
    // The key flag as a word kept current with the key queue: the key poll
    // reads it without taking the lock (the flag pin the board's poll reads).
    const std::atomic<bool>* keyFlagWord() const { return &m_keyFlag; }
    // A byte stream through a data window in one call: the same registers,
    // streams and write record as the transfers one by one (one record per
    // transfer), under one hold of the lock; a deep-memory window takes the
    // bytes in one piece.
    unsigned writeWindowed(unsigned base, unsigned window, unsigned offset, const uint8_t* data, size_t n);

    // ---- the outside view -------------------------------------------------
    // Register bytes as they are now (no read side effects).
    QByteArray peek(unsigned address, int count) const;
    // Sets bytes as the hardware would; false when the range leaves the space.
    bool poke(unsigned address, const QByteArray& bytes);
    void queueKey(uint8_t code);
    int pendingKeys() const;
    uint8_t keyChipReg(uint8_t reg) const;
    uint8_t ledChipReg(uint8_t reg) const;

    // What was last streamed to a port target, as numbers: "table:CH:KIND"
    // (CH 1..4; KIND base|mod|flat|noise or 0|1|2), "list:CH", "deep:CH"
    // (CH 1..2; 16-bit words, least significant byte first), "digital" (data
    // bytes), "digital:flag" (companion bytes), "offset:CH" (CH 1..4: the
    // coarse and the fine offset-DAC word last latched, 12 bits each; empty
    // until both were written). False with a reason for an
    // unknown name.
    bool stream(const QString& name, QVector<quint64>* out, QString* error = nullptr) const;

    // The digital protocol output's lines for the data loaded last, as a VCD
    // trace (simfpga_digital.cpp): one transmission per manual trigger since
    // the load, or one of the repeated ones in automatic mode. False with a
    // reason when the output is off.
    bool digitalTrace(QByteArray* vcd, QString* error = nullptr) const;
    int digitalTriggers() const;
    // Sets the counter result registers as an input of freq Hz with the given
    // duty cycle (per cent) would after one gate; 0 Hz is no input. False for
    // a negative frequency or a duty outside 0..100.
    bool setCounterInput(double freq, double duty);

    struct WriteRecord {
        uint16_t address;
        uint8_t unit;
        int count;        // bytes (unit 0) or words (unit 2)
        QByteArray bytes; // the bytes of a unit-0 write
    };
    QVector<WriteRecord> writes() const;
    int droppedWrites() const;
    void clearWrites();
    // One line per write: "0x0702 20 00", a word stream as "0x0603 [4096 words]".
    static QString formatWrite(const WriteRecord& w);
    QStringList logLines() const;

    // ---- the configuration port ------------------------------------------
    int cfgControl(unsigned long request);
    int cfgWrite(const void* data, unsigned n);
    QByteArray bitstream() const;
    bool configured() const;
    void setConfigured(bool on);
    void setErasePolls(int polls);

    // ---- service to ornav-sim ----------------------------------------------
    // Serves requests on a Unix socket at socketFile (a host path) from a
    // thread of its own. False when the socket can't be made or another
    // program already serves it.
    bool startServer(const QString& socketFile);
    void stopServer();
    bool serving() const;
    // Answers one request line ("peek ADDR [COUNT]", "poke ADDR BYTE...",
    // "key CODE", "stream NAME", "log", "log --clear"): "ok\n" followed by
    // the output, or "error TEXT\n".
    QByteArray handleRequest(const QByteArray& line);

    // Parses a number in decimal or 0x hex no larger than max.
    static bool parseNumber(const QString& text, quint64 max, quint64* value);

    ~SimFpga();

private:
    SimFpga();
    SimFpga(const SimFpga&) = delete;
    SimFpga& operator=(const SimFpga&) = delete;

    void resetLocked(const PowerOn& p);
    void applyByte(unsigned address, uint8_t value);
    void appendTableWord(uint16_t word);
    void appendListEntry(quint64 entry);
    void keyPortWord(uint16_t word);
    void offsetDacWord(uint16_t word);
    void logWrite(const userCmd& cmd, int count);
    void serve();

    mutable std::mutex m_mutex;
    uint8_t m_space[kSpaceSize];
    uint8_t m_keyChip[128];
    uint8_t m_ledChip[128];
    std::deque<uint8_t> m_keys;
    std::atomic<bool> m_keyFlag {false}; // !m_keys.empty(), written under m_mutex

    // Streams per target, and the targets already restarted in the current
    // load (a load replaces what the target held before).
    QMap<int, QVector<quint16>> m_tables;
    QSet<int> m_tablesThisLoad;
    QVector<quint64> m_lists[4];
    QSet<int> m_listsThisLoad;
    QByteArray m_deep[2];
    QByteArray m_digData;
    QByteArray m_digFlag;
    // Offset DAC words per channel: [coarse, fine], -1 until latched.
    int m_offsetDac[4][2];
    int m_digTriggers = 0; // manual sends since the last data load

    QVector<WriteRecord> m_writes;
    int m_dropped = 0;

    // Configuration port.
    bool m_configured = true;
    bool m_cfgPrepared = false;
    int m_erasePolls = 3;
    int m_eraseLeft = 0;
    QByteArray m_cfgIncoming;
    QByteArray m_bitstream;

    // Server.
    std::thread m_server;
    int m_listenFd = -1;
    int m_wake[2] = {-1, -1};
    QByteArray m_socketFile;
};
