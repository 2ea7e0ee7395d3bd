#pragma once
// Loads the FPGA configuration (bitstream) into the configuration flash
// through "/dev/fpga_cfg" and reports the progress (0..100, -1 on failure).
// Lives in the controller's worker thread; the progress bar listens queued.
#include <QObject>
#include <QString>

class fpga_config : public QObject {
    Q_OBJECT
public:
    static const char* kDevicePath;
    static const char* kBitstreamPath;
    static const unsigned kBlockSize = 51200;
    // Progress runs from 50 to 100 over this many blocks (the size of the
    // board's bitstream).
    static const unsigned kProgressBlocks = 130;
    // Largest bitstream file taken.
    static const qint64 kMaxBitstream = 64 << 20;

    explicit fpga_config(QObject* parent = nullptr);

    // True when the FPGA holds a configuration; false when it does not or the
    // configuration device can't be opened.
    bool online();
    // Writes a bitstream held in memory (steps after the file is read).
    void WritFlashData(unsigned char* data, unsigned size);

signals:
    void write_process(int progress);

public slots:
    // Runs an upgrade command through the shell, then "sync".
    void upgrade_exe(QString command);
    // Loads the bitstream file at a board path.
    void fpga_cfg_write(QString file);
};
