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
 * Every listing and extraction runs in the helper program "arcworker" lying beside the
 * library (RAR archives through the engine libunrar.so, also beside it), under a time and
 * size budget, so that a damaged archive costs the caller a result code, never a hang or a
 * crash. Without the helper the entries answer ERROR_WORKER_FAILED, without the RAR engine
 * ERROR_NOT_SUPPORT.
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
struct ARC_WINDOW
{
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
typedef struct
{
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

typedef struct
{
    uint32_t dwFileSize;
    uint32_t dwWriteSize;
    char szSourceFileName[FNAME_MAX32 + 1];
    char dummy1[3];
    char szDestFileName[FNAME_MAX32 + 1];
    char dummy[3];
} EXTRACTINGINFO;

typedef struct
{
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

/* Open mode of a probe: open only to learn whether the file is an archive of this kind.
 * Answered from the file's signature alone, without reading the members; the handle
 * then lists nothing and only needs closing. */
#define M_CHECK_ARCHIVE_PROBE 0x800002

/* Modes of CheckArchive: RAPID looks at the signature, BASIC also reads every header,
 * FULLSCAN and FULLCRC also decompress every member and verify its checksum. */
#define CHECKARCHIVE_RAPID 0
#define CHECKARCHIVE_BASIC 1
#define CHECKARCHIVE_FULLSCAN 2
#define CHECKARCHIVE_FULLCRC 3

/* Results of TarGetArchiveType. */
#define ARCHIVETYPE_NONE 0 /* not one of the kinds below */
#define ARCHIVETYPE_TAR 1
#define ARCHIVETYPE_TARGZ 2
#define ARCHIVETYPE_TARZ 3
#define ARCHIVETYPE_GZ 4
#define ARCHIVETYPE_Z 5
#define ARCHIVETYPE_TARBZ2 6
#define ARCHIVETYPE_BZ2 7
#define ARCHIVETYPE_UNREADABLE (-1) /* the file cannot be read */

/* Result codes (0 is success, -1 from FindFirst/FindNext is "no more members"). */
#define ERROR_START 0x8000
#define ERROR_DISK_SPACE 0x8005
#define ERROR_UNKNOWN_TYPE 0x8008
#define ERROR_METHOD 0x8009
#define ERROR_PASSWORD_FILE 0x800A
#define ERROR_FILE_CRC 0x800C
#define ERROR_FILE_OPEN 0x800D
#define ERROR_TOO_MANY_FILES 0x8011
#define ERROR_MAKEDIRECTORY 0x8012
#define ERROR_CANNOT_WRITE 0x8013
#define ERROR_HEADER_CRC 0x8016
#define ERROR_HEADER_BROKEN 0x8017
#define ERROR_ARC_FILE_OPEN 0x8018
#define ERROR_NOT_ARC_FILE 0x8019
#define ERROR_CANNOT_READ 0x801A
#define ERROR_COMMAND_NAME 0x801C
#define ERROR_MORE_HEAP_MEMORY 0x801D
#define ERROR_USER_CANCEL 0x8020
#define ERROR_HARC_ISNOT_OPENED 0x8021
#define ERROR_NOT_SUPPORT 0x8023
#define ERROR_NOT_FIND_ARC_FILE 0x8029
#define ERROR_RESPONSE_READ 0x802A

/* Codes of these libraries beyond the common set. Every listing and extraction runs in a
 * helper process under a budget: SONOLUX_ARCHIVER_BUDGET seconds of wall time (default
 * 30), members of at most 256 MiB and at most 1 GiB written in one call
 * (SONOLUX_ARCHIVER_MEMBER_LIMIT and SONOLUX_ARCHIVER_TOTAL_LIMIT, in bytes, may only
 * lower these). */
#define ERROR_DATA_BROKEN 0x8101       /* member data damaged (other than a checksum) */
#define ERROR_TIME_BUDGET 0x8102       /* the work ran out of time and was stopped */
#define ERROR_MEMBER_TOO_LARGE 0x8103  /* a member larger than the member limit: not written */
#define ERROR_ARCHIVE_TOO_LARGE 0x8104 /* the call would write past the total limit: stopped */
#define ERROR_MEMBER_REFUSED 0x8105    /* a link, device or unusable name: not written */
#define ERROR_WORKER_FAILED 0x8106     /* the helper process is missing or ended abnormally */

/*
 * Entry types; a library exports them under its prefix (e.g. UnlhaOpenArchive). Every entry
 * may be called from any thread; calls are synchronous.
 *
 * Command entry (the bare prefix): carries out commandLine before it returns and answers 0
 * on success, else the first failure's code (members that could be written are kept). The
 * libraries understand extraction: LHA and ARJ "x" (keeps stored folders unless -x0) and
 * "e" (flat); ZIP "-x" (flat with -j); CAB "-x" (flat with -j); TAR "x" with -f archive,
 * -o folder (flat with --use-directory=0); RAR "-x" and "-e" (flat). The first plain item
 * is the archive, the first item ending in "\" or "/" the folder (created when missing;
 * the current folder when none is given), every other item a mask matched without regard
 * to ASCII letter case ("*.*" matches every name; a mask without a folder part is matched
 * against the member's name part). "@file" reads more items from a file, one per line.
 * Members are written to a temporary name in their folder and renamed when complete, never
 * outside the folder; links and devices are refused. output, when not null, receives a
 * NUL-terminated report (cut to outputSize - 1 bytes).
 *
 * OpenArchive: reads the whole member list up front under the budget and answers a
 * non-zero handle when the archive could be read (a damaged archive that still yields
 * members is opened with those), 0 otherwise. mode M_CHECK_ARCHIVE_PROBE only checks the
 * signature. FindFirst restarts the list and answers 0 with info filled for the first
 * member matching wildcard, -1 when none; FindNext continues with the same wildcard;
 * ERROR_HARC_ISNOT_OPENED for an unknown handle. CloseArchive releases the handle.
 *
 * CheckArchive answers 1 when the file is a sound archive of this library's kind at the
 * depth asked for by mode (CHECKARCHIVE_*), else 0.
 *
 * SetOwnerWindowEx registers the window that receives "wm_arcextract" during command
 * entries of this library (one window per library; a new one replaces the old) and answers
 * 1, or 0 for a null window. The message arrives in the calling thread with wParam
 * ARCEXTRACT_OPEN once, ARCEXTRACT_BEGIN and ARCEXTRACT_INPROCESS per member and
 * ARCEXTRACT_END at the end; a non-zero answer stops the work with ERROR_USER_CANCEL and
 * the member in progress is not kept. KillOwnerWindowEx answers 1 when window was the one
 * registered (and forgets it), else 0.
 *
 * TarGetArchiveType (tar32 only) answers an ARCHIVETYPE_* value.
 */
typedef int (*ARC_COMMAND)(HWND window, const char *commandLine, char *output, uint32_t outputSize);
typedef HARC (*ARC_OPEN_ARCHIVE)(HWND window, const char *archivePath, uint32_t mode);
typedef int (*ARC_CLOSE_ARCHIVE)(HARC archive);
typedef int (*ARC_FIND_FIRST)(HARC archive, const char *wildcard, INDIVIDUALINFO *info);
typedef int (*ARC_FIND_NEXT)(HARC archive, INDIVIDUALINFO *info);
typedef int (*ARC_CHECK_ARCHIVE)(const char *archivePath, int mode);
/* callback, when not null, is called instead of the window's proc, with the same arguments
 * and the same meaning of its answer. */
typedef intptr_t (*ARC_OWNER_CALLBACK)(HWND window, uint32_t message, uintptr_t wParam,
                                       intptr_t lParam);
typedef int (*ARC_SET_OWNER_WINDOW_EX)(HWND window, void *callback);
typedef int (*ARC_KILL_OWNER_WINDOW_EX)(HWND window);
typedef int (*ARC_GET_ARCHIVE_TYPE)(const char *archivePath); /* TarGetArchiveType */

#ifdef __cplusplus
}
#endif

#endif
