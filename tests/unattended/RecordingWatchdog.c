/* A stand-in for the watchdog library, loaded by dlopen in the tests: it appends what it
 * receives, one line per call ("init", or a command's three bytes in hex), to the file that
 * the test names, and answers every command with the result that the test sets. */
#include <stdio.h>

#define EXPORT __attribute__((visibility("default")))

static char recordPath[4096];
static unsigned char commandResult = 1;

static void record(const char* line)
{
    FILE* file;
    if (recordPath[0] == '\0')
        return;
    file = fopen(recordPath, "a");
    if (file == NULL)
        return;
    fputs(line, file);
    fputc('\n', file);
    fclose(file);
}

EXPORT void RecordingWatchdogSetFile(const char* path)
{
    snprintf(recordPath, sizeof recordPath, "%s", path);
}

EXPORT void RecordingWatchdogSetResult(unsigned char result)
{
    commandResult = result;
}

EXPORT void WDogInit(void)
{
    record("init");
}

EXPORT unsigned char WDogSendCommand(const unsigned char* command)
{
    char line[16];
    snprintf(line, sizeof line, "%02x %02x %02x", command[0], command[1], command[2]);
    record(line);
    return commandResult;
}
