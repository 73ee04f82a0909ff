/*
 * The common archiver library interface, as the archiver libraries in outside/ export it
 * and the program's archive layer calls it. Every library exports its entries under its
 * own prefix ("Unlha", "UnZip", "Cab", "Unarj", "Tar", "Unrar"): the bare prefix is the
 * command entry, prefix + "OpenArchive" opens a listing, and so on (see the typedefs).
 *
 * Texts are NUL-terminated byte strings in the process code page (SONOLUX_CODEPAGE).
 * Command lines keep the interface's own syntax: switches, double-quoted paths, and a
 * folder written with a trailing "\" (or "/").
 *
 * Nothing here throws: every failure is a result code.
 */
#ifndef SONOLUX_ARCHIVER_API_H
#define SONOLUX_ARCHIVER_API_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define ARC_EXPORT __attribute__((visibility("default")))

/* Longest member path an INDIVIDUALINFO record holds, without its NUL. */
#define FNAME_MAX32 512

/* A listing handle: non-zero while open. */
typedef uint32_t HARC;

/*
 * A window that receives messages, standing in for the platform window the interface
 * was drawn for. A library given one through SetOwnerWindowEx sends it the registered
 * message "wm_arcextract" while it works, by calling proc synchronously on the thread
 * that called the library: wParam is the state (ARCEXTRACT_*), lParam points to an
 * EXTRACTINGINFOEX record; a non-zero answer asks the library to stop.
 */
typedef struct ARC_WINDOW ARC_WINDOW;
struct ARC_WINDOW {
    intptr_t (*proc)(ARC_WINDOW *window, uint32_t message, uintptr_t wParam, intptr_t lParam);
    void *context; /* the owner's own data, never touched by a library */
};
typedef ARC_WINDOW *HWND;

/* Number of a registered window message: the same name gives the same number in every
 * module of every process (0xC000 to 0xFFFF, as registered messages are). */
static inline uint32_t ArcRegisterWindowMessage(const char *name)
{
    uint32_t hash = 2166136261u;
    for (const unsigned char *p = (const unsigned char *)name; *p; ++p) {
        unsigned char c = *p;
        if (c >= 'A' && c <= 'Z')
            c = (unsigned char)(c - 'A' + 'a'); /* names are compared without case */
        hash = (hash ^ c) * 16777619u;
    }
    return 0xC000u + (hash % 0x4000u);
}

#define WM_ARCEXTRACT_NAME "wm_arcextract"

/* States passed as wParam of "wm_arcextract". */
#define ARCEXTRACT_BEGIN 0
#define ARCEXTRACT_INPROCESS 1
#define ARCEXTRACT_END 2
#define ARCEXTRACT_OPEN 3
#define ARCEXTRACT_COPY 4

#pragma pack(push, 1)
/* One member of a listing, 558 bytes; szFileName (offset 26) is the member's path. */
typedef struct {
    uint32_t dwOriginalSize;
    uint32_t dwCompressedSize;
    uint32_t dwCRC;
    uint32_t uFlag;
    uint32_t uOSType;
    uint16_t wRatio;
    uint16_t wDate;
    uint16_t wTime;
    char szFileName[FNAME_MAX32 + 1];
    char dummy1[3];
    char szAttribute[8];
    char szMode[8];
} INDIVIDUALINFO;

typedef struct {
    uint32_t dwFileSize;
    uint32_t dwWriteSize;
    char szSourceFileName[FNAME_MAX32 + 1];
    char dummy1[3];
    char szDestFileName[FNAME_MAX32 + 1];
    char dummy[3];
} EXTRACTINGINFO;

typedef struct {
    EXTRACTINGINFO exinfo;
    uint32_t dwCompressedSize;
    uint32_t dwCRC;
    uint32_t uOSType;
    uint16_t wRatio;
    uint16_t wDate;
    uint16_t wTime;
    char szAttribute[8];
    char szMode[8];
} EXTRACTINGINFOEX;
#pragma pack(pop)

#ifdef __cplusplus
static_assert(sizeof(INDIVIDUALINFO) == 558, "INDIVIDUALINFO is 558 bytes");
static_assert(__builtin_offsetof(INDIVIDUALINFO, szFileName) == 26, "member path at offset 26");
#endif

/* Open mode of a probe: open only to learn whether the file is an archive of this kind. */
#define M_CHECK_ARCHIVE_PROBE 0x800002

/* Result codes (0 is success, -1 from FindFirst/FindNext is "no more members"). */
#define ERROR_START 0x8000
#define ERROR_DISK_SPACE 0x8005
#define ERROR_UNKNOWN_TYPE 0x8008
#define ERROR_METHOD 0x8009
#define ERROR_PASSWORD_FILE 0x800A
#define ERROR_FILE_CRC 0x800C
#define ERROR_FILE_OPEN 0x800D
#define ERROR_CANNOT_WRITE 0x8013
#define ERROR_HEADER_BROKEN 0x8017
#define ERROR_ARC_FILE_OPEN 0x8018
#define ERROR_NOT_ARC_FILE 0x8019
#define ERROR_CANNOT_READ 0x801A
#define ERROR_COMMAND_NAME 0x801C
#define ERROR_MORE_HEAP_MEMORY 0x801D
#define ERROR_USER_CANCEL 0x8020
#define ERROR_HARC_ISNOT_OPENED 0x8021
#define ERROR_NOT_SUPPORT 0x8023

/* Entry types; a library exports them under its prefix (e.g. UnlhaOpenArchive). */
typedef int (*ARC_COMMAND)(HWND window, const char *commandLine, char *output, uint32_t outputSize);
typedef HARC (*ARC_OPEN_ARCHIVE)(HWND window, const char *archivePath, uint32_t mode);
typedef int (*ARC_CLOSE_ARCHIVE)(HARC archive);
typedef int (*ARC_FIND_FIRST)(HARC archive, const char *wildcard, INDIVIDUALINFO *info);
typedef int (*ARC_FIND_NEXT)(HARC archive, INDIVIDUALINFO *info);
typedef int (*ARC_CHECK_ARCHIVE)(const char *archivePath, int mode);
typedef int (*ARC_SET_OWNER_WINDOW_EX)(HWND window, void *callback);
typedef int (*ARC_KILL_OWNER_WINDOW_EX)(HWND window);
typedef int (*ARC_GET_ARCHIVE_TYPE)(const char *archivePath); /* TarGetArchiveType */

#ifdef __cplusplus
}
#endif

#endif
