#ifndef SONOLUX_MODULE_H
#define SONOLUX_MODULE_H
/*
 * The loader module "sonolux.dll" (the file libsonolux.so): reads song titles and
 * rewrites MIDI files that carry a foreign header ahead of their MThd chunk.
 *
 * The player loads the module by name, looks up one entry, calls it once and unloads
 * the module again. The module keeps no state between calls, runs no start-up code of
 * its own and links nothing but the C library, so loading it is cheap. Each call opens,
 * reads and closes its own files: nothing stays open after a call, also after a failure.
 *
 * Short strings. Every text crossing this boundary is a short string: a buffer of 256
 * bytes whose byte 0 holds the length n (0 to 255) and bytes 1 to n the characters,
 * with no terminator. Inputs are copied into private buffers at entry, so an output
 * buffer may be the very buffer that holds an input; input buffers are never written.
 * A name holding a zero byte is refused (code SONOLUX_IO_INVALID_NAME): the system
 * would read it only up to that byte, i.e. as the name of another file.
 *
 * Results. Each entry returns 0 on success. On failure it returns a non-zero I/O code
 * (below) and leaves the failure's message in its output buffer as a short string, in
 * the process code page: the player raises that text as its error. A message longer
 * than 255 bytes is cut between characters. A null pointer for any argument is refused
 * with SONOLUX_IO_INVALID_NAME (and no message where the output buffer is the null one).
 *
 * Code page. Messages are produced in the process code page, read at every call from
 * the environment variable SONOLUX_CODEPAGE: "932" selects Shift-JIS, anything else
 * (or nothing) UTF-8. File names and titles are bytes and are never converted.
 *
 * Locking. Files are guarded with advisory locks (flock). On Linux these only keep out
 * other openers that take such locks too (other calls of this module, in any process,
 * and programs that lock likewise); a program that opens a file without locking is not
 * kept out and does not make a call fail. Where a file system offers no such locks, the
 * file is read without one.
 */

#ifdef __cplusplus
extern "C" {
#endif

#if defined(SONOLUX_MODULE_BUILD)
#define SONOLUX_MODULE_API __attribute__((visibility("default")))
#else
#define SONOLUX_MODULE_API
#endif

/* I/O codes, as reported by the module with the message text that goes with them.
 * Other system failures are reported with their Linux errno value and the message
 * "I/O エラー (%d)"; EIO, and the few errno values that would read as one of the codes
 * below, are reported as SONOLUX_IO_DEVICE_ERROR. */
enum {
    SONOLUX_IO_FILE_NOT_FOUND = 2, /* "ファイルが見つかりません" */
    SONOLUX_IO_INVALID_NAME = 3,   /* "不正なファイル名です" (also: folder missing) */
    SONOLUX_IO_TOO_MANY_OPEN = 4,  /* "オープンしたファイルが多すぎます" */
    SONOLUX_IO_ACCESS_DENIED = 5,  /* "ファイルへのアクセスが拒否されました" */
    SONOLUX_IO_SHARING_VIOLATION = 32, /* "I/O エラー (32)": another opener holds the file */
    SONOLUX_IO_READ_PAST_END = 100,    /* "ファイルの末尾以降を読み込みました" */
    SONOLUX_IO_DISK_FULL = 101,        /* "ディスクがいっぱいです" */
    SONOLUX_IO_NAME_TOO_LONG = 206,    /* "ファイル名が長すぎます" */
    SONOLUX_IO_DEVICE_ERROR = 1117     /* "I/O エラー (1117)" */
};

/*
 * ComLoad: the title of a song file.
 *
 * title: out, a 256-byte buffer. fileName: in, the full path of the song file.
 * The title buffer is set to the empty short string before the file is looked at.
 *
 * The reader is chosen by the extension of fileName: the text from its last "." that
 * stands after its last "/", "\" or ":" (searched multibyte-aware under the process
 * code page), compared without regard to ASCII letter case:
 *   ".mid"                  the first FF 03 byte pair within the first 500 bytes; the
 *                           byte after it is the text length (0 to 255) and the text
 *                           follows. A text that runs past the 500 bytes is read on
 *                           from the file up to its end. No pair, or no text:
 *                           "Not found Title!".
 *   ".rcp", ".r36", ".g36"  the 64 bytes at offset 32, up to the first zero byte,
 *                           without leading and trailing bytes <= 0x20; possibly empty.
 *   anything else           the empty title; the file is not opened.
 * Title bytes are copied from the file as they stand.
 *
 * The song file is opened for reading only and locked exclusively while it is read.
 * Returns 0 and the title. On failure returns the I/O code, and title holds the message:
 * "ファイル %s は開けません" (%s the file name) when the file cannot be opened (missing,
 * no access, not a regular file, locked by another opener: SONOLUX_IO_SHARING_VIOLATION),
 * or the code's own message when reading fails after the open.
 */
SONOLUX_MODULE_API int ComLoad(unsigned char *title, const unsigned char *fileName);

/*
 * MacCheck: the name to play for a MIDI file, unwrapping a foreign header.
 *
 * result: out, a 256-byte buffer. fileName: in, the full path of the file to check.
 * folder: in, the folder for the work file, without a trailing "/".
 *
 * A file whose first byte is not zero comes back under its own name, exactly as passed,
 * and nothing is written. A file whose first byte is zero is copied, from the first
 * bytes 4D 54 ("MT") at or after its second byte to its end, into folder + "/TEMP.MID",
 * and that name is returned; with no such pair the work file is empty.
 *
 * The work file is replaced as a whole: the copy is written beside it under a temporary
 * name and renamed over it, so a reader that has the old file open keeps reading the old
 * bytes, a symbolic link named TEMP.MID is replaced rather than followed, and a failed
 * call leaves the old file as it was and no temporary file behind.
 *
 * The source is locked shared while it is read; the call fails with
 * SONOLUX_IO_SHARING_VIOLATION when another opener holds the source, or the current
 * TEMP.MID, locked exclusively.
 *
 * Returns 0 and the name to play in result. On failure returns the I/O code and result
 * holds its message, for example: source missing 2; source empty 100; folder missing or
 * empty 3; TEMP.MID not replaceable 5; work name longer than 255 bytes 206 (the name is
 * never cut). No work file is created when the source cannot be read.
 */
SONOLUX_MODULE_API int MacCheck(unsigned char *result, const unsigned char *fileName,
                                const unsigned char *folder);

typedef int (*ComLoadFunction)(unsigned char *title, const unsigned char *fileName);
typedef int (*MacCheckFunction)(unsigned char *result, const unsigned char *fileName,
                                const unsigned char *folder);

#ifdef __cplusplus
}
#endif

#endif /* SONOLUX_MODULE_H */
