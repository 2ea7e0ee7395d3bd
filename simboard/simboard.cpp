#include "simboard/simboard.h"
#include "simboard/simfpga_devices.h"
#include "simboard/usbtmc_socket.h"
#include "communication/ETHLXI/vxi11_server.h"
#include "communication/scpi_msg_adpt.h"

namespace {
bool g_installed = false;

FpgaRegDevice* makeRegDevice(int fd) { return new SimFpgaRegDevice(fd); }

FpgaCfgDevice* makeCfgDevice(int fd) { return new SimFpgaCfgDevice(fd); }

UsbtmcDevice* usbtmcEndpoint()
{
    // Lives until the process ends, like the transport thread that uses it.
    static SocketUsbtmcDevice* device = new SocketUsbtmcDevice();
    return device;
}
} // namespace

void SimBoard::install()
{
    FpgaRegDevice::setFactory(makeRegDevice);
    FpgaCfgDevice::setFactory(makeCfgDevice);
    usbtmc_set_device(usbtmcEndpoint());
    scpi_msg_queue_set_private(true);
    vxi11_set_loopback_only(true);
    g_installed = true;
}

void SimBoard::uninstall()
{
    FpgaRegDevice::setFactory(nullptr);
    FpgaCfgDevice::setFactory(nullptr);
    usbtmc_set_device(nullptr);
    scpi_msg_queue_set_private(false);
    vxi11_set_loopback_only(false);
    g_installed = false;
}

bool SimBoard::installed() { return g_installed; }
