#include "hardware/fpga_config.h"
#include "hardware/fpga_cfgdevice.h"
#include "platform/platformroot.h"
#include "platform/shellrunner.h"
#include <QByteArray>
#include <QDebug>
#include <QFile>
#include <QThread>
#include <memory>

const char* fpga_config::kDevicePath = "/dev/fpga_cfg";
const char* fpga_config::kBitstreamPath = "/home/root/ORNAV96T_TOP.bit";

fpga_config::fpga_config(QObject* parent) : QObject(parent)
{
    std::unique_ptr<FpgaCfgDevice> dev(FpgaCfgDevice::open(kDevicePath));
    if (!dev) {
        qWarning("Can't Open %s !!!\n\r", kDevicePath);
        return;
    }
    dev->control(FPGA_CFG_INIT, 0);
}

bool fpga_config::online()
{
    std::unique_ptr<FpgaCfgDevice> dev(FpgaCfgDevice::open(kDevicePath));
    if (!dev)
        return false;
    return dev->control(FPGA_CFG_ONLINE, 0) != 0;
}

void fpga_config::upgrade_exe(QString command)
{
    ShellRunner::run(command);
    ShellRunner::run("sync");
}

void fpga_config::fpga_cfg_write(QString file)
{
    qInfo("FPGA Configuring.......\n");
    QFile f(boardPath(file));
    if (!f.exists() || !f.open(QIODevice::ReadOnly) || f.size() > kMaxBitstream) {
        emit write_process(-1);
        qWarning("FPGA Configuring open file error or file not exist\n");
        return;
    }
    QByteArray data = f.readAll();
    f.close();
    if (data.isEmpty()) {
        // Nothing to load is a failed configuration: say so, so the progress
        // bar does not wait for ever.
        qWarning("FPGA Configuring open file error or file not exist\n");
        emit write_process(-1);
        return;
    }
    WritFlashData(reinterpret_cast<unsigned char*>(data.data()), unsigned(data.size()));
}

void fpga_config::WritFlashData(unsigned char* data, unsigned size)
{
    std::unique_ptr<FpgaCfgDevice> dev(FpgaCfgDevice::open(kDevicePath));
    if (!dev || data == nullptr) {
        emit write_process(-1);
        return;
    }
    int progress = 10;
    emit write_process(progress);
    dev->control(FPGA_CFG_PREPARE, 0);
    dev->control(FPGA_CFG_ERASE, 0);

    for (int k = 0; dev->control(FPGA_CFG_ERASE_BUSY, 0) != 0; ++k) {
        QThread::sleep(1);
        progress = 10 + (k * 40) / 70;
        qInfo("erase %d !!!\n\r", k);
        emit write_process(progress);
    }

    const unsigned blocks = size / kBlockSize;
    for (unsigned j = 1; j <= blocks; ++j) {
        if (dev->write(data + size_t(j - 1) * kBlockSize, kBlockSize) != int(kBlockSize)) {
            // A short write leaves the flash half programmed: report failure
            // rather than a progress that looks like success.
            qWarning("FPGA Configuring write error at block %u\n", j);
            dev->control(FPGA_CFG_FINISH, 0);
            emit write_process(-1);
            return;
        }
        qInfo("%d%% write %d/%d !!!\n\r", progress, int(j), int(blocks));
        progress = int(50 + (50 * j) / kProgressBlocks);
        emit write_process(progress);
    }
    const unsigned rest = size % kBlockSize;
    if (rest > 0) {
        if (dev->write(data + size_t(blocks) * kBlockSize, rest) != int(rest)) {
            qWarning("FPGA Configuring write error at the last block\n");
            dev->control(FPGA_CFG_FINISH, 0);
            emit write_process(-1);
            return;
        }
        qInfo("write last !!!\n\r");
    }
    dev->control(FPGA_CFG_FINISH, 0);
}
