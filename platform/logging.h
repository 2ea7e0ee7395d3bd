// Diagnostics of the instrument: one Qt logging category per subsystem and
// the message handler that prints them in the instrument's bracketed form.
//
//   qCCritical(lcScpi, "no channel number")      -> "[scpi-ERRO]:no channel number\n"
//   qCWarning(lcLan, "web server on port %d", p) -> "[lan-WARN]:web server on port 8080\n"
//   ORNAV_LOG_AT(lcVxi).critical("alloc mem error!")
//                                 -> "[vxi-ERRO] f:create_link,l:374,alloc mem error!\r\n"
//
// The transports (USBTMC, VXI-11, the LAN sockets) name the function and line
// of the diagnostic, as their field logs always have; everything else names
// only the subsystem. Critical is "ERRO", warning "WARN", info "INFO", debug
// "DEBG". Messages of other categories (Qt's own, the QML console, plain
// qDebug) are printed as Qt prints them.
//
// Every diagnostic goes through the Qt message handler, so a test (or a field
// build) that installs its own handler sees all of them with their category.
#pragma once

#include <QLoggingCategory>
#include <QString>

Q_DECLARE_LOGGING_CATEGORY(lcScpi)       // "scpi": SCPI worker, message adapter, command rows
Q_DECLARE_LOGGING_CATEGORY(lcUsb)        // "usb": USB device port and the remote threads' start-up
Q_DECLARE_LOGGING_CATEGORY(lcUsbtmc)     // "usbtmc": USBTMC bulk transfers
Q_DECLARE_LOGGING_CATEGORY(lcVxi)        // "vxi": VXI-11 server and links
Q_DECLARE_LOGGING_CATEGORY(lcLan)        // "lan": raw socket, web server, mDNS
Q_DECLARE_LOGGING_CATEGORY(lcParamFlash) // "paramFlash": the parameter record in the EEPROM
Q_DECLARE_LOGGING_CATEGORY(lcHardware)   // "hardware": board sensors and devices

// A logger that carries the calling function and line: the transports' form.
// The file is left out on purpose: it is what tells this form from a plain
// qCCritical, which carries no location in a release build and function,
// line and file in a debug build.
#define ORNAV_LOG_AT(category) QMessageLogger(nullptr, __LINE__, __func__, category().categoryName())

namespace ornavlog {

// Installs the handler (program start-up, before any thread starts).
void install();

// The line the handler prints for one message, line end included; empty
// when the message is not of one of the categories above.
QByteArray format(QtMsgType type, const QMessageLogContext& context, const QString& message);

} // namespace ornavlog
