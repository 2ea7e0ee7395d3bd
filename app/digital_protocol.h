#pragma once
// The digital protocol output: CH2..CH4 turned into an SPI, I2C or UART
// transmitter of the bytes in the data buffer, the roles those channels take
// and the entries the digital page shows. Owned by the controller; its state
// belongs to the controller's thread (the page's requests and the remote rows
// are queued to it).
#include <QByteArray>
#include <QString>
#include <cstddef>
#include "communication/SCPI/commands/scpi_digital_host.h"

class Ornav72;

class DigitalProtocol : public ScpiDigitalHost {
public:
    explicit DigitalProtocol(Ornav72& owner) : o(owner) {}
    DigitalProtocol(const DigitalProtocol&) = delete;
    DigitalProtocol& operator=(const DigitalProtocol&) = delete;

    // Whether an output type can have its channels: SPI and I2C need CH3 and
    // CH4 (not while CH1's or CH2's sync output is on), UART needs CH4 (not
    // while CH2's sync output is on). Reads the record only, so any thread
    // may ask.
    static bool digitalIOAvalid(uint type);
    // Stores a new output type when the output is off or the type is
    // available; false (and tip 11) otherwise.
    bool digitalTypeChanged(int newfun);
    // Roles and labels of CH2..CH4 for the current type and switch.
    void updatedigitalChIO();
    // The entries the digital page shows for the current type.
    void updateDigitalSetlist();
    // Programs the digital output from the record and the data buffer.
    void digitalExe();
    // The page's text (hexadecimal or text format) becomes the data sent.
    void setText(const QString& text);
    // Data received remotely: at most 2048 bytes, shown on the page.
    void digitalRemoteData(const QByteArray& data);
    // Reloads the digital page's entries.
    void digitalDisUpdate();

    // Answers of the entries (the controller's slots forward here).
    void digitalClkChanged();
    void digitalParamChanged();
    void digitalFormatChanged();
    void digitalSWChanged();
    void digitaAutoSendChanged();
    void digitalRequestPaint();

    // The digital-output rows of the remote interface.
    bool digitalLinesFree(unsigned type) override;
    bool digitalChangeType(int type) override;
    QByteArray digitalData() override;
    void digitalTakeRemoteData(const QByteArray& data) override;

private:
    // Bytes of digitaltext (hexadecimal or text format) into digitalBuffer;
    // sets digitalLength.
    void GetDigitalDataByte();
    void digitalRemoteSetTxt(const char* data, size_t length);

    Ornav72& o;
    QString digitaltext;
    unsigned char digitalBuffer[2048] = {};
    int digitalLength = 0;
};
