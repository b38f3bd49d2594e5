/* The watchdog library on top of the Linux kernel watchdog (/dev/watchdog).
 *
 * Any write keeps every kernel watchdog driver alive, so a tick is a plain write.
 * Arming and disarming go through WDIOC_SETOPTIONS, which some drivers lack: their card
 * is armed as long as the device is open, and a missing ioctl is no failure. Disarming
 * also writes the magic close character 'V' before closing, without which a driver keeps
 * counting after the close. */
#include "wdogusb.h"

#include <errno.h>
#include <fcntl.h>
#include <linux/watchdog.h>
#include <stddef.h>
#include <sys/ioctl.h>
#include <unistd.h>

#ifndef WDOGUSB_DEVICE
#define WDOGUSB_DEVICE "/dev/watchdog"
#endif

#define WDOGUSB_EXPORT __attribute__((visibility("default")))

static const char* devicePath = WDOGUSB_DEVICE;
static int device = -1;

static int openDevice(void)
{
    if (device >= 0)
        return 1;
    do {
        device = open(devicePath, O_WRONLY | O_CLOEXEC);
    } while (device < 0 && errno == EINTR);
    return device >= 0;
}

static int writeByte(char byte)
{
    ssize_t written;
    do {
        written = write(device, &byte, 1);
    } while (written < 0 && errno == EINTR);
    return written == 1;
}

static int driverLacksOption(int error)
{
    return error == ENOTTY || error == EINVAL || error == EOPNOTSUPP;
}

static int setCardOption(int option)
{
    if (ioctl(device, WDIOC_SETOPTIONS, &option) == 0)
        return 1;
    return driverLacksOption(errno);
}

static int enableCard(void)
{
    if (!openDevice())
        return 0;
    return setCardOption(WDIOS_ENABLECARD);
}

static int disableCard(void)
{
    int disabled;
    if (device < 0)
        return 0;
    disabled = setCardOption(WDIOS_DISABLECARD);
    disabled = writeByte('V') && disabled;
    close(device);
    device = -1;
    return disabled;
}

static int tickCard(void)
{
    /* Any byte but 'V', which some drivers take as the close warning. */
    return device >= 0 && writeByte('.');
}

static int isCommand(const unsigned char* command, unsigned char b0, unsigned char b1, unsigned char b2)
{
    return command[0] == b0 && command[1] == b1 && command[2] == b2;
}

WDOGUSB_EXPORT void WDogInit(void)
{
    openDevice();
}

WDOGUSB_EXPORT unsigned char WDogSendCommand(const unsigned char* command)
{
    if (command == NULL)
        return 0;
    if (isCommand(command, 0x30, 0xFF, 0xFF))
        return (unsigned char)enableCard();
    if (isCommand(command, 0x30, 0xC3, 0xA5))
        return (unsigned char)disableCard();
    if (isCommand(command, 0x02, 0x00, 0x00))
        return (unsigned char)tickCard();
    return 0;
}

#ifdef WDOGUSB_TEST_HOOKS
WDOGUSB_EXPORT void WDogSetDevicePath(const char* path)
{
    if (device >= 0)
        close(device);
    device = -1;
    devicePath = path;
}
#endif
