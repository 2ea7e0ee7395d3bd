// Calibration data and the calibration states the calibration station drives.
//
// The station switches a channel into a state (DC or AC calibration, DC or AC
// verification), sets ranges, offsets and amplitude words directly through
// the service commands, measures, and finally sends the whole calibration
// text, which is parsed into the channel characteristics and saved to
// "Local.cal". The temperature factor files hold the gain change of each
// calibration point at the hot and the cold end of the board's range.
#include "hardware/CSetParam.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QtGlobal>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <unistd.h>
#include <vector>
#include "hardware/ccalfile.h"
#include "platform/atomicfile.h"
#include "platform/platformroot.h"

const char* CSetParam::kCalFile = "/home/root/Local.cal";
const char* CSetParam::kCalOldFile = "/home/root/LocalOld.cal";
const char* CSetParam::kHTempFile = "/home/root/Htemp.fac";
const char* CSetParam::kLTempFile = "/home/root/Ltemp.fac";

namespace {

const char* kCalDir = "/home/root/";
const int kSinePoints = 8192;

// The sine the AC calibration measures with: one period in the 8192-word
// base table, trunc(32767 sin(2 pi i / 8192)).
const std::vector<short>& sineTable()
{
    static const std::vector<short> table = [] {
        std::vector<short> t(kSinePoints);
        for (int i = 0; i < kSinePoints; ++i)
            t[size_t(i)] = static_cast<short>(std::trunc(32767.0 * std::sin(2.0 * M_PI * i / kSinePoints)));
        return t;
    }();
    return table;
}

// After a state change or new data the next setting must program the range
// and the flatness table again.
void forgetRange(CH_ID ch)
{
    CSetParam::state.m_ATT[ch] = 255;
    CSetParam::state.m_VPP[ch] = 0;
}

bool readText(const char* boardFile, QString& text)
{
    QFile f(boardPath(QString::fromLatin1(boardFile)));
    if (!f.open(QIODevice::ReadOnly))
        return false;
    text = QString::fromLatin1(f.readAll());
    return true;
}

// Merge off, noise sum off, amplitude scale at its smallest word, base mode:
// the part both calibration states share.
void quietPath(CH_ID ch)
{
    CSetParam::SetWorkModeReg(ch, FPGA_WM_BASE);
    CSetParam::SetVolAdjFine(ch, 0);
    CSetParam::SetFPGA_reg(CSetParam::ChReg(ch, REG_MERGE_EN), static_cast<unsigned char>(0));
    CSetParam::SetNoiseSum(ch, false, 0);
}

void enterDcState(CH_ID ch, bool calibrating)
{
    if (!CSetParam::IsChannel(ch))
        return;
    CSetParam::state.isDcCal = calibrating;
    CSetParam::state.isAcCal = false;
    quietPath(ch);
    CSetParam::SetBaseWaveType(ch, FPGA_BASE_DC);
    forgetRange(ch);
}

void enterAcState(CH_ID ch, bool calibrating)
{
    if (!CSetParam::IsChannel(ch))
        return;
    CSetParam::state.isDcCal = false;
    CSetParam::state.isAcCal = calibrating;
    CSetParam::SetWorkModeReg(ch, FPGA_WM_BASE);
    CSetParam::SetBaseWaveType(ch, FPGA_BASE_SINE);
    CSetParam::SetBaseWaveData(ch, sineTable().data(), kSinePoints, false);
    CSetParam::SetOffset(ch, 14, 0.0, false);
    CSetParam::SetVolAdjFine(ch, 0);
    CSetParam::SetFPGA_reg(CSetParam::ChReg(ch, REG_FILTER), static_cast<unsigned char>(1));
    CSetParam::SetFPGA_reg(CSetParam::ChReg(ch, REG_MERGE_EN), static_cast<unsigned char>(0));
    CSetParam::SetNoiseSum(ch, false, 0);
    forgetRange(ch);
}

void setDefaults()
{
    for (CChCharacter& c : CSetParam::state.pCharacter) {
        c.SetAllDCCalValue(1.0, 0.0);
        c.ClearAcCalValue();
    }
}

} // namespace

void CSetParam::SetSerialNumberSource(const char* (*source)()) { state.serialSource = source; }

bool CSetParam::LoadCalData(QString text)
{
    if (text.isEmpty()) {
        const char* used = kCalFile;
        if (!readText(kCalFile, text)) {
            qInfo("no calibrate file:%s", kCalFile);
            used = kCalOldFile;
            if (!readText(kCalOldFile, text)) {
                qInfo("no calibrate file:%s", kCalOldFile);
                setDefaults();
                for (int ch = CH1; ch <= CH4; ++ch)
                    forgetRange(CH_ID(ch));
                return false;
            }
        }
        qInfo(" calibrate file:%s", used);
        // The file is the whole calibration: nothing of earlier data stays.
        setDefaults();
    }
    CCalFile::analysisCalFlie(text, state.pCharacter);
    for (int ch = CH1; ch <= CH4; ++ch)
        forgetRange(CH_ID(ch));
    return true;
}

void CSetParam::LoadTempCalData()
{
    struct {
        const char* file;
        const char* name;
        bool high;
    } const files[] = {{kHTempFile, "Htemp", true}, {kLTempFile, "Ltemp", false}};
    for (const auto& f : files) {
        QString text;
        if (!readText(f.file, text)) {
            qInfo("%s factor file not found ", f.name);
            continue;
        }
        qInfo("%s factor file is %s", f.name, f.file);
        CCalFile::analysisTempFactorFlie(text, state.pCharacter, f.high);
    }
    // From now on the flatness tables follow the board temperature.
    CChCharacter::SetBoardTemperatureSource(&state.boardtemp);
    for (int ch = CH1; ch <= CH4; ++ch)
        forgetRange(CH_ID(ch));
}

bool CSetParam::SaveCalData()
{
    const QString dir = boardPath(QString::fromLatin1(kCalDir));
    if (!QDir().mkpath(dir)) {
        qWarning("can't create %s", kCalDir);
        return false;
    }
    const QString target = boardPath(QString::fromLatin1(kCalFile));
    // Written beside the old file and renamed over it when complete: a full
    // disk or a power cut leaves the old calibration, never half of one.
    const QString temp = target + QStringLiteral(".new");
    QFile f(temp);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        qWarning("can't create %s", qPrintable(temp));
        return false;
    }
    const char* sn = state.serialSource ? state.serialSource() : "";
    const QByteArray head = "[SN:" + QByteArray(sn ? sn : "") + "]\r\n";
    bool ok = f.write(head) == head.size();
    for (int ch = CH1; ok && ch <= CH4; ++ch)
        ok = CCalFile::SaveDCToFlie(f, state.pCharacter[ch]);
    for (int ch = CH1; ok && ch <= CH4; ++ch)
        ok = CCalFile::SaveACToFlie(f, state.pCharacter[ch]);
    ok = ok && f.flush() && ::fsync(f.handle()) == 0;
    f.close();
    if (ok && f.error() == QFileDevice::NoError &&
        ::rename(QFile::encodeName(temp).constData(), QFile::encodeName(target).constData()) == 0) {
        AtomicFile::syncFolderOf(target); // the rename itself reaches the medium
        return true;
    }
    qWarning("save calibrate file %s failed: %s", kCalFile, std::strerror(errno));
    QFile::remove(temp);
    return false;
}

void CSetParam::SetSatuseCalDc(CH_ID ch) { enterDcState(ch, true); }

void CSetParam::SetSatuseVerifyDc(CH_ID ch) { enterDcState(ch, false); }

void CSetParam::SetSatuseCalAc(CH_ID ch) { enterAcState(ch, true); }

void CSetParam::SetSatuseVerifyAc(CH_ID ch) { enterAcState(ch, false); }

// Removes every "Local*" file of the calibration folder (the calibration file
// and its older copy) through the file API, then starts from the defaults.
void CSetParam::CalClearAll()
{
    QDir dir(boardPath(QString::fromLatin1(kCalDir)));
    const QStringList names =
        dir.entryList({QStringLiteral("Local*")}, QDir::Files | QDir::Hidden | QDir::CaseSensitive);
    for (const QString& name : names) {
        if (!dir.remove(name))
            qWarning("can't remove %s%s", kCalDir, qPrintable(name));
    }
    setDefaults();
    for (int ch = CH1; ch <= CH4; ++ch)
        forgetRange(CH_ID(ch));
}
