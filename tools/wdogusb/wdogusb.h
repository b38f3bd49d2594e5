/* The USB watchdog library's entry points, as the kiosk loads them with dlopen. */
#ifndef WDOGUSB_H
#define WDOGUSB_H

#ifdef __cplusplus
extern "C" {
#endif

/* Opens the watchdog device. Opening arms most kernel watchdogs at once. */
void WDogInit(void);

/* Carries out one 3-byte command:
 *   0x30 0xFF 0xFF  enable (arm)
 *   0x30 0xC3 0xA5  disable (disarm, then close the device)
 *   0x02 0x00 0x00  tick (sign of life)
 * Returns 1 on success, 0 on failure or for any other command. */
unsigned char WDogSendCommand(const unsigned char* command);

#ifdef WDOGUSB_TEST_HOOKS
/* Test builds only: the device to open instead of the configured one. */
void WDogSetDevicePath(const char* path);
#endif

#ifdef __cplusplus
}
#endif

#endif
