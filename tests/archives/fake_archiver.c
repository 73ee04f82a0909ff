/*
 * A fake archiver library of the common archiver interface, for the archive layer's tests.
 * One source builds every fake: the compile definitions choose the exported entry names.
 *
 *   FAKE_TAG            name of this fake, written at the start of its report text
 *   FAKE_COMMAND        name of the command entry (e.g. Unlha); FAKE_COMMAND2 a second one
 *   FAKE_LIST_PREFIX    prefix of the listing and check entries (absent: none exported)
 *   FAKE_OWNER_ENTRIES  also export the prefix's SetOwnerWindowEx / KillOwnerWindowEx
 *   FAKE_TAR_TYPE       also export TarGetArchiveType
 *   FAKE_SIGNATURE      text a file must contain to count as an archive of this fake
 *
 * Every call is recorded as one line of FakeCalls(); the command line of the last command
 * call is kept whole in FakeLastCommandLine(). Listings answer from a fixed member table.
 * While an owner window is registered, a command sends it "wm_arcextract" for its begin, for
 * every member and for its end, and stops when the window answers non-zero.
 */
#include "outside/include/archiver_api.h"

#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#define CAT2(a, b) a##b
#define CAT(a, b) CAT2(a, b)
#define TEXT2(a) #a
#define TEXT(a) TEXT2(a)

static const char *const members[] = {"song.mid", "sub/Tune.RMI", "readme.txt"};
#define MEMBER_COUNT (sizeof members / sizeof members[0])

/* The record of calls: a growing text, one line per call. */
static char *calls;
static size_t callsLength;
static char *lastCommandLine;
static HWND ownerWindow;
static HWND lastCommandWindow;

static void Record(const char *format, ...)
{
    va_list args;
    va_start(args, format);
    char line[2048];
    int n = vsnprintf(line, sizeof line - 1, format, args);
    va_end(args);
    if (n < 0)
        return;
    if ((size_t)n > sizeof line - 2)
        n = (int)(sizeof line - 2);
    line[n] = '\n';
    line[n + 1] = '\0';
    char *grown = realloc(calls, callsLength + (size_t)n + 2);
    if (grown == NULL)
        return;
    calls = grown;
    memcpy(calls + callsLength, line, (size_t)n + 2);
    callsLength += (size_t)n + 1;
}

ARC_EXPORT const char *FakeCalls(void)
{
    return calls != NULL ? calls : "";
}

ARC_EXPORT const char *FakeLastCommandLine(void)
{
    return lastCommandLine != NULL ? lastCommandLine : "";
}

ARC_EXPORT HWND FakeLastCommandWindow(void)
{
    return lastCommandWindow;
}

ARC_EXPORT void FakeClear(void)
{
    free(calls);
    calls = NULL;
    callsLength = 0;
}

/* Sends "wm_arcextract" to the owner window; non-zero when it asks to stop. */
static intptr_t Notify(uint32_t state, const char *member)
{
    if (ownerWindow == NULL || ownerWindow->proc == NULL)
        return 0;
    EXTRACTINGINFOEX info;
    memset(&info, 0, sizeof info);
    snprintf(info.exinfo.szSourceFileName, sizeof info.exinfo.szSourceFileName, "%s", member);
    const uint32_t message = ArcRegisterWindowMessage(WM_ARCEXTRACT_NAME);
    return ownerWindow->proc(ownerWindow, message, state, (intptr_t)&info);
}

static int RunCommand(const char *entry, HWND window, const char *commandLine, char *output,
                      uint32_t outputSize)
{
    free(lastCommandLine);
    lastCommandLine = strdup(commandLine != NULL ? commandLine : "");
    lastCommandWindow = window;
    const char *buffer = output == NULL ? "null" : (output[0] == '\0' ? "nul" : "text");
    Record("%s window=%s size=%u buffer=%s", entry, window == NULL ? "null" : "set",
           (unsigned)outputSize, buffer);

    int result = 0;
    if (Notify(ARCEXTRACT_BEGIN, "") != 0) {
        result = ERROR_USER_CANCEL;
    } else {
        for (size_t i = 0; i < MEMBER_COUNT; ++i) {
            if (Notify(ARCEXTRACT_INPROCESS, members[i]) != 0) {
                result = ERROR_USER_CANCEL;
                break;
            }
        }
    }
    if (result == 0)
        Notify(ARCEXTRACT_END, "");
    if (result == 0 && strstr(lastCommandLine, "FAIL") != NULL)
        result = ERROR_CANNOT_WRITE;
    if (output != NULL && outputSize > 0)
        snprintf(output, outputSize, "%s %s: %d", TEXT(FAKE_TAG), entry, result);
    return result;
}

ARC_EXPORT int FAKE_COMMAND(HWND window, const char *commandLine, char *output, uint32_t size)
{
    return RunCommand(TEXT(FAKE_COMMAND), window, commandLine, output, size);
}

#ifdef FAKE_COMMAND2
ARC_EXPORT int FAKE_COMMAND2(HWND window, const char *commandLine, char *output, uint32_t size)
{
    return RunCommand(TEXT(FAKE_COMMAND2), window, commandLine, output, size);
}
#endif

#ifdef FAKE_LIST_PREFIX
#define ENTRY(suffix) CAT(FAKE_LIST_PREFIX, suffix)
#define ENTRY_NAME(suffix) TEXT(ENTRY(suffix))

static HARC openHandle;
static HARC nextHandle = 0x100;
static size_t findIndex;
static char findWildcard[FNAME_MAX32 + 1];

/* Whether the file at path holds FAKE_SIGNATURE within its first 4 KiB. */
static int HasSignature(const char *path)
{
    FILE *file = fopen(path, "rb");
    if (file == NULL)
        return 0;
    char data[4097];
    const size_t n = fread(data, 1, sizeof data - 1, file);
    fclose(file);
    data[n] = '\0';
    for (size_t i = 0; i < n; ++i)
        if (strncmp(data + i, FAKE_SIGNATURE, strlen(FAKE_SIGNATURE)) == 0)
            return 1;
    return 0;
}

static char Fold(char c)
{
    return (c >= 'A' && c <= 'Z') ? (char)(c - 'A' + 'a') : c;
}

/* "*" and "?" wildcards, ASCII case ignored; "*.*" matches every name. */
static int Matches(const char *name, const char *mask)
{
    if (strcmp(mask, "*.*") == 0)
        return 1;
    if (*mask == '\0')
        return *name == '\0';
    if (*mask == '*')
        return Matches(name, mask + 1) || (*name != '\0' && Matches(name + 1, mask));
    if (*name == '\0')
        return 0;
    if (*mask == '?' || Fold(*mask) == Fold(*name))
        return Matches(name + 1, mask + 1);
    return 0;
}

ARC_EXPORT HARC ENTRY(OpenArchive)(HWND window, const char *path, uint32_t mode)
{
    (void)window;
    Record("%s mode=%u path=%s", ENTRY_NAME(OpenArchive), (unsigned)mode, path);
    if (!HasSignature(path))
        return 0;
    openHandle = nextHandle++;
    findIndex = 0;
    return openHandle;
}

ARC_EXPORT int ENTRY(CloseArchive)(HARC archive)
{
    Record("%s handle=%s", ENTRY_NAME(CloseArchive), archive == 0 ? "0" : "open");
    if (archive == 0 || archive != openHandle)
        return ERROR_HARC_ISNOT_OPENED;
    openHandle = 0;
    return 0;
}

static int FindFrom(INDIVIDUALINFO *info)
{
    for (; findIndex < MEMBER_COUNT; ++findIndex) {
        const char *name = members[findIndex];
        const char *slash = strrchr(name, '/');
        if (Matches(slash != NULL ? slash + 1 : name, findWildcard)) {
            memset(info, 0, sizeof *info);
            snprintf(info->szFileName, sizeof info->szFileName, "%s", name);
            info->dwOriginalSize = (uint32_t)(100 * (findIndex + 1));
            ++findIndex;
            return 0;
        }
    }
    return -1;
}

ARC_EXPORT int ENTRY(FindFirst)(HARC archive, const char *wildcard, INDIVIDUALINFO *info)
{
    Record("%s wildcard=%s", ENTRY_NAME(FindFirst), wildcard);
    if (archive == 0 || archive != openHandle)
        return ERROR_HARC_ISNOT_OPENED;
    snprintf(findWildcard, sizeof findWildcard, "%s", wildcard);
    findIndex = 0;
    return FindFrom(info);
}

ARC_EXPORT int ENTRY(FindNext)(HARC archive, INDIVIDUALINFO *info)
{
    Record("%s", ENTRY_NAME(FindNext));
    if (archive == 0 || archive != openHandle)
        return ERROR_HARC_ISNOT_OPENED;
    return FindFrom(info);
}

ARC_EXPORT int ENTRY(CheckArchive)(const char *path, int mode)
{
    Record("%s mode=%d path=%s", ENTRY_NAME(CheckArchive), mode, path);
    return mode;
}

#ifdef FAKE_OWNER_ENTRIES
ARC_EXPORT int ENTRY(SetOwnerWindowEx)(HWND window, void *callback)
{
    Record("%s callback=%s", ENTRY_NAME(SetOwnerWindowEx), callback == NULL ? "null" : "set");
    ownerWindow = window;
    return 1;
}

ARC_EXPORT int ENTRY(KillOwnerWindowEx)(HWND window)
{
    Record("%s", ENTRY_NAME(KillOwnerWindowEx));
    if (window != ownerWindow)
        return 0;
    ownerWindow = NULL;
    return 1;
}
#endif
#endif

#ifdef FAKE_TAR_TYPE
/* 1 for "TAR", 2 for "TGZ", 6 for "BZ2" in the file, else 0. */
ARC_EXPORT int TarGetArchiveType(const char *path)
{
    Record("TarGetArchiveType path=%s", path);
    FILE *file = fopen(path, "rb");
    if (file == NULL)
        return -1;
    char data[64] = {0};
    const size_t n = fread(data, 1, sizeof data - 1, file);
    fclose(file);
    data[n] = '\0';
    if (strstr(data, "BZ2") != NULL)
        return 6;
    if (strstr(data, "TGZ") != NULL)
        return 2;
    if (strstr(data, "TAR") != NULL)
        return 1;
    return 0;
}
#endif

/* Nothing of the record outlives the library. */
__attribute__((destructor)) static void ReleaseRecord(void)
{
    FakeClear();
    free(lastCommandLine);
    lastCommandLine = NULL;
}
