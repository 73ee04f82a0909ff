/*
 * rcpcv: converts Recomposer song files (RCP, R36, G36) into Standard MIDI Files.
 * Built as the shared library librcpcv.so, which the player loads under the name
 * "rcpcv.dll". These three entries are its only exports.
 *
 * The usual sequence: h = rcpcvConvertFile(path, 0, 0, 0, 0); rcpcvSaveSMF(h, out);
 * rcpcvDeleteObject(h).
 *
 * Paths are NUL-terminated byte strings, used as they stand (no code-page conversion).
 * No entry throws: every failure is a result. Entries keep no state between calls;
 * calls on different handles may run on different threads at once.
 */
#ifndef SONOLUX_RCPCV_H
#define SONOLUX_RCPCV_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define RCPCV_EXPORT __attribute__((visibility("default")))

/* Results of rcpcvSaveSMF. */
#define RCPCV_OK 0
#define RCPCV_ERROR_ARGUMENT 1 /* null handle or null path */
#define RCPCV_ERROR_WRITE 2    /* the file could not be written; nothing was changed */
#define RCPCV_ERROR_MEMORY 3   /* out of memory; nothing was changed */

/*
 * Reads and converts the song file at path.
 *
 * Returns a handle for the converted song, or null when the file cannot be read (missing,
 * no access, not a regular file, larger than 16 MiB), is not an RCP, R36 or G36 song, or
 * its header is cut short. The kind of song is decided by the 32-byte magic at the start
 * of the file, never by its name. A song damaged after its header converts as far as its
 * data allows and may hold no music at all (an empty song); conversion is bounded in time
 * and memory whatever the file holds.
 *
 * Control files the song names (.CM6, .GSD) are looked up in the song's folder whatever
 * the ASCII letter case of their names; those found are sent, after a reset, before the
 * music.
 *
 * reserved1 to reserved4 are ignored; pass 0. The handle must be released with
 * rcpcvDeleteObject.
 */
RCPCV_EXPORT void *rcpcvConvertFile(const char *path, int32_t reserved1, int32_t reserved2,
                                    int32_t reserved3, int32_t reserved4);

/*
 * Writes the converted song as a format-1 Standard MIDI File at outputPath, replacing any
 * file there. The track name of its first track is the song's title, its bytes as they
 * stand in the song file (Shift-JIS).
 *
 * Returns RCPCV_OK (0) on success, otherwise one of the non-zero results above. The file
 * is written to a temporary file beside outputPath and then renamed over it, so a failure
 * never leaves part of a file and never damages a file already at outputPath.
 * The handle stays valid and may be saved again.
 */
RCPCV_EXPORT int32_t rcpcvSaveSMF(void *handle, const char *outputPath);

/* Releases a handle from rcpcvConvertFile. Null is allowed and does nothing. */
RCPCV_EXPORT void rcpcvDeleteObject(void *handle);

#ifdef __cplusplus
}
#endif

#endif /* SONOLUX_RCPCV_H */
