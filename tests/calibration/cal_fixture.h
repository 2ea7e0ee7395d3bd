#pragma once
// A simulated board with the register device open and every channel's
// calibration at its defaults; helpers to put files into the board's
// calibration folder and read them back.
#include <gtest/gtest.h>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include "hardware/CSetParam.h"
#include "hardware/ccalfile.h"
#include "hardware/cchcharacter.h"
#include "app/misc.h"
#include "platform/platformroot.h"
#include "simboard/simroot.h"
#include "param/sys_param.h"
#include "tests/common/fpga_probe.h"

class CalTest : public ::testing::Test, public FpgaProbe {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(SimRoot::create(dir.path()));
        PlatformRoot::setRoot(dir.path());
        misc::ResetDS18B20();
        ASSERT_TRUE(CSetParam::OpenDevice());
        sys_param::setFactoryValues(sys_param::HWinfo);
        resetCalibration();
        CSetParam::state.isDcCal = false;
        CSetParam::state.isAcCal = false;
        CSetParam::state.boardtemp = 43.0f;
        CChCharacter::SetBoardTemperatureSource(nullptr);
        CSetParam::SetSerialNumberSource(nullptr);
        CSetParam::ForgetWrittenState();
        fpga().clearWrites();
    }
    void TearDown() override
    {
        resetCalibration();
        CSetParam::state.isDcCal = false;
        CSetParam::state.isAcCal = false;
        CChCharacter::SetBoardTemperatureSource(nullptr);
        CSetParam::SetSerialNumberSource(nullptr);
        CSetParam::CloseDevice();
        misc::ResetDS18B20();
        PlatformRoot::setRoot(QString());
    }

    static void resetCalibration()
    {
        for (CChCharacter& c : CSetParam::state.pCharacter) {
            c.SetAllDCCalValue(1.0, 0.0);
            c.ClearAcCalValue();
        }
    }

    QString hostPath(const char* boardFile) const { return PlatformRoot::path(QString::fromLatin1(boardFile)); }

    void writeBoardFile(const char* boardFile, const QByteArray& bytes) const
    {
        const QString p = hostPath(boardFile);
        QDir().mkpath(QFileInfo(p).path());
        QFile f(p);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(f.write(bytes), bytes.size());
    }

    QByteArray readBoardFile(const char* boardFile) const
    {
        QFile f(hostPath(boardFile));
        if (!f.open(QIODevice::ReadOnly))
            return QByteArray();
        return f.readAll();
    }

    static CChCharacter& chr(int ch) { return CSetParam::state.pCharacter[ch]; }
    static const AmpSWMap* range(int ch, int code) { return chr(ch).GetATTtoAmpMap(static_cast<unsigned char>(code)); }

    QTemporaryDir dir;
};
