// A stand-in for the watchdog library, loaded by dlopen in the tests: it appends what it receives, one
// line per call ("init", or a command's three bytes in hex), to the file named in RECORDING_WATCHDOG_FILE,
// and refuses (answers 0 to) the commands whose hex RECORDING_WATCHDOG_REFUSE holds.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#define EXPORT __attribute__((visibility("default")))

static void record(const char* line)
{
    const char* path = getenv("RECORDING_WATCHDOG_FILE");
    FILE* file = path ? fopen(path, "a") : NULL;
    if (file == NULL)
        return;
    fprintf(file, "%s\n", line);
    fclose(file);
}

EXPORT void WDogInit(void)
{
    record("init");
}

EXPORT unsigned char WDogSendCommand(const unsigned char* command)
{
    const char* refused = getenv("RECORDING_WATCHDOG_REFUSE");
    char line[16];
    snprintf(line, sizeof line, "%02x %02x %02x", command[0], command[1], command[2]);
    record(line);
    return refused != NULL && strstr(refused, line) != NULL ? 0 : 1;
}
