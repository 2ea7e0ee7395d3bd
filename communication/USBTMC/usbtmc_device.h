#pragma once
// The gadget's character device "/dev/usbtmc0". On the board it is the USB
// gadget driver's node. On a simulated board the same path is a listening
// sequenced-packet socket: a host (ornav-sim usbtmc, the tests) connecting to
// it plugs the cable in, each packet is one bulk transfer packet, and closing
// the connection unplugs it. The device greets the host it takes with
// USBTMC_SIM_ATTACHED; while it serves one host, any other gets
// USBTMC_SIM_BUSY and is disconnected at once.
#define USBTMC_SIM_ATTACHED "USBTMC-ATTACHED"
#define USBTMC_SIM_BUSY "USBTMC-BUSY"

// Opens (board) or waits for a host (simulated board); -1 on failure.
int usbtmc_dev_open();
// One read from the bulk-out endpoint, at most len bytes.
int usbtmc_dev_read(void* buf, int len);
// One bulk-in transfer; returns the bytes written or -1.
int usbtmc_dev_write(const void* buf, int len);
void usbtmc_dev_close();
bool usbtmc_dev_is_open();
